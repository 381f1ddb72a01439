#include "store/TfrmPanel.h"

#include <algorithm>

namespace vantrel {

namespace {

template <class C>
C named(const std::string& name, const std::string& caption = "") {
  C c;
  c.Name = name;
  c.Caption = caption;
  return c;
}

TSpinEdit spin(const std::string& name, const std::string& caption, int value) {
  auto s = named<TSpinEdit>(name, caption);
  s.MinValue = 1;
  s.MaxValue = 50;
  s.Value = value;
  return s;
}

TEdit edit(const std::string& name, const std::string& caption, const std::string& text) {
  auto e = named<TEdit>(name, caption);
  e.Text = text;
  return e;
}

}  // namespace

TfrmPanel::TfrmPanel(Ui& ui, ColorChooser& colorDialog) : ui_(ui), colorDialog_(colorDialog) {
  Name = "frmPanel";
  Caption = "Panel Setup";
  ClientWidth = 450;
  ClientHeight = 424;

  gbGeneral = named<TGroupBox>("gbGeneral", "General Settings");
  edPanelName = edit("edPanelName", "Panel Name", "");
  cbBezels = named<TCheckBox>("cbBezels", "Show Instrument Bezels && Knobs");
  cbBezels.Checked = true;
  cbLighting = named<TCheckBox>("cbLighting", "Enable Panel Night Mode");

  rgType = named<TRadioGroup>("rgType", "Panel Background Type");
  rgType.Items = {"Color", "Image"};
  rgType.Columns = 2;
  rgType.ItemIndex = btColor;

  gbColor = named<TGroupBox>("gbColor", " Color Settings");
  sBGColor = named<TColorSwatch>("sBGColor", "Panel Background Color");
  btnColor = named<TButton>("btnColor", "...");
  cbShowFrame = named<TCheckBox>("cbShowFrame", "Show Frame");
  pColorFrame = named<TColorSwatch>("pColorFrame");
  edPixels = spin("edPixels", "pixels wide", 1);
  cbShowGrid = named<TCheckBox>("cbShowGrid", "Show Grid");
  edGrid = spin("edGrid", "pixel spacing", 40);

  gbImage = named<TGroupBox>("gbImage", " Image Settings");
  gbImage.Visible = false;
  edBGImage = edit("edBGImage", "Panel Background Image", "");
  btnImage = named<TButton>("btnImage", "...");
  cbImageSize = named<TCheckBox>("cbImageSize", "Use original Image Size");

  gbSize = named<TGroupBox>("gbSize", "Background Size && Position");
  rgSizeType = named<TRadioGroup>("rgSizeType", "Mode");
  rgSizeType.Items = {"Full Desktop", "One Monitor only", "Custom Size/Position",
                      "No Background"};
  rgSizeType.ItemIndex = stFullDesktop;
  lMonitor = named<TLabel>("lMonitor", "Monitor");
  cbMonitor = named<TComboBox>("cbMonitor", "Monitor");
  cbMonitor.Items = {"1"};
  cbMonitor.ItemIndex = 0;
  edWidth = edit("edWidth", "Width", "800");
  lBy = named<TLabel>("lBy", "X");
  edHeight = edit("edHeight", "Height", "600");
  edTop = edit("edTop", "Top", "0");
  edLeft = edit("edLeft", "Left", "0");
  // Hidden as the initial mode, Full Desktop, has them.
  showMonitorList(false);
  ToggleSize(false);
  showTopLeft(false);
  btnOK = named<TButton>("btnOK", "OK");
  btnCancel = named<TButton>("btnCancel", "Cancel");
}

bool TfrmPanel::imageSized() const { return type() == btImage && !cbImageSize.Checked; }

void TfrmPanel::showMonitorList(bool visible) { lMonitor.Visible = cbMonitor.Visible = visible; }

void TfrmPanel::showTopLeft(bool visible) { edTop.Visible = edLeft.Visible = visible; }

void TfrmPanel::takeSelectedMonitor() {
  const auto monitors = ui_.monitors();
  const int k = cbMonitor.ItemIndex;
  // A monitor that went away since the list was filled leaves the values as they are.
  if (k < 0 || k >= static_cast<int>(monitors.size())) return;
  const MonitorInfo& m = monitors[k];
  edWidth.Text = std::to_string(m.width);
  edHeight.Text = std::to_string(m.height);
  edTop.Text = std::to_string(m.top);
  edLeft.Text = std::to_string(m.left);
}

void TfrmPanel::takeDesktop() {
  // The size of the box around all monitors, placed at 0,0: the background program
  // reads the rectangle this way.
  const MonitorInfo d = ui_.desktop();
  edWidth.Text = std::to_string(d.width);
  edHeight.Text = std::to_string(d.height);
  edTop.Text = "0";
  edLeft.Text = "0";
}

void TfrmPanel::FormShow() {
  if (edPanelName.Text == NewPanelMarker || NameEditable) {
    edPanelName.Enabled = true;
    ActiveControl = edPanelName.Name;
  } else {
    // An existing panel keeps its name: the name is its folder.
    edPanelName.Enabled = false;
  }
  rgSizeTypeClick();
  if (type() == btImage) cbImageSizeClick();
}

void TfrmPanel::rgSizeTypeClick() {
  switch (sizeType()) {
    case stFullDesktop:
      takeDesktop();
      showMonitorList(false);
      ToggleSize(imageSized());
      showTopLeft(false);
      break;
    case stOneMonitor:
      takeSelectedMonitor();
      showMonitorList(true);
      ToggleSize(imageSized());
      showTopLeft(false);
      break;
    case stCustom:
      showMonitorList(false);
      ToggleSize(true);
      showTopLeft(true);
      break;
    case stNoBackground:
      takeDesktop();
      showMonitorList(false);
      ToggleSize(false);
      showTopLeft(false);
      break;
    default:
      break;
  }
  if (type() == btImage) cbImageSizeClick();
}

void TfrmPanel::cbImageSizeClick() { ToggleSize(!cbImageSize.Checked); }

void TfrmPanel::ToggleSize(bool visible) {
  edWidth.Visible = edHeight.Visible = lBy.Visible = visible;
}

void TfrmPanel::rgTypeClick() {
  if (type() == btColor) {
    gbColor.Visible = true;
    gbImage.Visible = false;
    edBGImage.Text.clear();
    rgSizeTypeClick();
    ToggleSize(sizeType() == stCustom);
  } else if (type() == btImage) {
    gbColor.Visible = false;
    gbImage.Visible = true;
    setImageSize(true);
    rgSizeTypeClick();
    ToggleSize(sizeType() == stCustom && !cbImageSize.Checked);
  }
}

void TfrmPanel::cbMonitorCloseUp() { takeSelectedMonitor(); }

void TfrmPanel::btnColorClick() {
  if (ui_.chooseColor(colorDialog_)) sBGColor.Color = colorDialog_.Color;
}

void TfrmPanel::pColorFrameClick() {
  pColorFrame.Color = ui_.chooseColor(colorDialog_) ? colorDialog_.Color : 0;
}

void TfrmPanel::btnImageClick() {
  FileDialogOptions o;
  o.title = "Select Background Image";
  o.filter =
      "Bitmap Image File (*.bmp)|*.bmp|JPEG Image File (*.jpg)|*.jpg|"
      "GIF Image File (*.gif)|*.gif|PNG Image File (*.png)|*.png|"
      "TIFF Image File (*.tif)|*.tif";
  o.initialDir = PictureInitialDir;
  std::string path;
  if (ui_.openFileDialog(o, path)) edBGImage.Text = path;
}

void TfrmPanel::selectType(int index) {
  index = std::clamp(index, 0, static_cast<int>(rgType.Items.size()) - 1);
  if (index == rgType.ItemIndex) return;
  rgType.ItemIndex = index;
  rgTypeClick();
}

void TfrmPanel::selectSizeType(int index) {
  index = std::clamp(index, 0, static_cast<int>(rgSizeType.Items.size()) - 1);
  if (index == rgSizeType.ItemIndex) return;
  rgSizeType.ItemIndex = index;
  rgSizeTypeClick();
}

void TfrmPanel::setImageSize(bool checked) {
  if (cbImageSize.Checked == checked) return;
  cbImageSize.Checked = checked;
  cbImageSizeClick();
}

void TfrmPanel::selectMonitor(int index) {
  const int count = static_cast<int>(cbMonitor.Items.size());
  cbMonitor.ItemIndex = index >= 0 && index < count ? index : (count > 0 ? 0 : -1);
}

void TfrmPanel::fillMonitorList(int monitorCount) {
  cbMonitor.Items.clear();
  for (int i = 1; i <= monitorCount; ++i) cbMonitor.Items.push_back(std::to_string(i));
  cbMonitor.ItemIndex = cbMonitor.Items.empty() ? -1 : 0;
}

}  // namespace vantrel
