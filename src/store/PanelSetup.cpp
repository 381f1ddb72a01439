#include "store/PanelSetup.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Paths.h"
#include "platform/Text.h"
#include "store/ColorText.h"
#include "store/IniFile.h"
#include "store/PanelFolder.h"

namespace vantrel {

namespace {

const std::string kConfig = "Config";
const std::string kSettings = "Settings";
const std::string kPosition = "Position";
const std::string kImageStem = "ScrimlayImage";

// Settles the name of the panel's picture copy from the image text, copying a newly
// chosen picture into the panel folder.
std::string settleImageName(const std::string& text, const std::string& folder) {
  namespace fs = std::filesystem;
  const std::string fileName = extractFileName(text);
  const std::string ext = extractFileExt(text);
  const std::string stem = fileName.substr(0, fileName.size() - ext.size());
  std::error_code ec;

  if (stem == kImageStem) {
    // The panel's own copy, as the dialog was filled with it.
    if (fileName == text) return text;
    // A copy chosen by path: in this panel's folder it is the copy itself; another
    // panel's copy is taken like any picture, so this panel does not lean on that one.
    if (fs::equivalent(fsPath(text).parent_path(), fsPath(folder), ec)) return fileName;
  }

  const fs::path source = fsPath(text);
  const fs::path copy = fsPath(joinPath(folder, kImageStem + ext));
  if (!text.empty() && fs::is_regular_file(source, ec)) {
    // A failed copy is not reported; the name stands for the copy either way.
    if (!fs::equivalent(source, copy, ec))
      fs::copy_file(source, copy, fs::copy_options::overwrite_existing, ec);
    return kImageStem + ext;
  }
  if (fs::is_regular_file(copy, ec)) fs::remove(copy, ec);
  return "";
}

}  // namespace

std::string backgroundFilePath(const std::string& iniPath, const std::string& name) {
  return joinPath(panelFolderPath(iniPath, name), "Scrimlay.ini");
}

void LoadPanelSetup(TfrmPanel& f, const std::string& iniPath, const std::string& name) {
  const IniFile panel(panelFilePath(iniPath, name), FlagStyle::OneZero);
  f.edPanelName.Text = panel.readString(kConfig, "PanelName", name);
  f.edBGImage.Text = panel.readString(kConfig, "PanelBGImage", "");
  f.sBGColor.Color = static_cast<std::uint32_t>(panel.readInteger(kConfig, "PanelBGColor", 0));
  f.cbBezels.Checked = panel.readBool(kConfig, "ShowBezels", true);
  f.cbLighting.Checked = panel.readBool(kConfig, "EnableLighting", false);

  const IniFile bg(backgroundFilePath(iniPath, name), FlagStyle::OneZero);
  f.selectType(bg.readInteger(kSettings, "Type", 0));
  f.pColorFrame.Color = textToColor(bg.readString(kSettings, "FrameColor", "clBlack"));
  f.edWidth.Text = bg.readString(kSettings, "Width", "800");
  f.edHeight.Text = bg.readString(kSettings, "Height", "600");
  f.setImageSize(bg.readBool(kSettings, "UseImageSize", true));
  f.cbShowFrame.Checked = bg.readBool(kSettings, "ShowFrame", true);
  f.cbShowGrid.Checked = bg.readBool(kSettings, "ShowGrid", false);
  f.edPixels.Value = std::clamp(bg.readInteger(kSettings, "FrameWidth", 1), f.edPixels.MinValue,
                                f.edPixels.MaxValue);
  f.edGrid.Value = std::clamp(bg.readInteger(kSettings, "GridSpacing", 40), f.edGrid.MinValue,
                              f.edGrid.MaxValue);
  f.selectSizeType(bg.readInteger(kSettings, "SizeType", 0));
  f.selectMonitor(bg.readInteger(kSettings, "Monitor", 0));
  f.cbImageSize.Enabled = f.type() == TfrmPanel::btImage;
  f.edTop.Text = std::to_string(bg.readInteger(kPosition, "Top", 0));
  f.edLeft.Text = std::to_string(bg.readInteger(kPosition, "Left", 0));
}

void WritePanelFiles(TfrmPanel& f, const std::string& iniPath, const std::string& name, Ui& ui) {
  const std::string folder = panelFolderPath(iniPath, name);
  const std::string imageName = settleImageName(f.edBGImage.Text, folder);
  const int mode = f.sizeType();

  IniFile panel(panelFilePath(iniPath, name), FlagStyle::OneZero);
  panel.writeString(kConfig, "PanelName", f.edPanelName.Text);
  panel.writeString(kConfig, "PanelBGImage", imageName);
  panel.writeInteger(kConfig, "PanelBGColor", static_cast<std::int32_t>(f.sBGColor.Color));
  panel.writeBool(kConfig, "ShowBackground", mode != TfrmPanel::stNoBackground);
  panel.writeString(kConfig, "PanelMonitor",
                    mode == TfrmPanel::stOneMonitor ? std::to_string(f.cbMonitor.ItemIndex) : "0");
  const auto monitors = ui.monitors();
  panel.writeInteger(kConfig, "No_of_Screens", static_cast<std::int32_t>(monitors.size()));
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    const std::string key = "Screen_" + std::to_string(i);
    panel.writeInteger(kConfig, key + "_Height", monitors[i].height);
    panel.writeInteger(kConfig, key + "_Width", monitors[i].width);
  }
  panel.writeBool(kConfig, "ShowBezels", f.cbBezels.Checked);
  panel.writeBool(kConfig, "EnableLighting", f.cbLighting.Checked);

  IniFile bg(backgroundFilePath(iniPath, name), FlagStyle::OneZero);
  bg.writeInteger(kSettings, "Type", f.type());
  bg.writeString(kSettings, "ImageFileName", imageName);
  bg.writeString(kSettings, "Color", colorToText(f.sBGColor.Color));
  bg.writeString(kSettings, "FrameColor", colorToText(f.pColorFrame.Color));
  bg.writeString(kSettings, "Width", f.edWidth.Text);
  bg.writeString(kSettings, "Height", f.edHeight.Text);
  bg.writeBool(kSettings, "UseImageSize", f.cbImageSize.Checked);
  bg.writeBool(kSettings, "ShowFrame", f.cbShowFrame.Checked);
  bg.writeInteger(kSettings, "FrameWidth", f.edPixels.Value);
  bg.writeBool(kSettings, "ShowGrid", f.cbShowGrid.Checked);
  bg.writeInteger(kSettings, "GridSpacing", f.edGrid.Value);
  bg.writeInteger(kSettings, "SizeType", mode);
  bg.writeInteger(kSettings, "Monitor", f.cbMonitor.ItemIndex);
  bg.writeInteger(kPosition, "Top", strToInt(f.edTop.Text));
  bg.writeInteger(kPosition, "Left", strToInt(f.edLeft.Text));
}

}  // namespace vantrel
