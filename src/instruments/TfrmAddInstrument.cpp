#include "instruments/TfrmAddInstrument.h"

#include "instruments/Catalog.h"
#include "instruments/InstrumentRows.h"
#include "platform/Paths.h"

namespace vantrel {

TfrmAddInstrument::TfrmAddInstrument() {
  Name = "frmAddInstrument";
  Caption = AddCaption;
  gbInstrument.Name = "gbInstrument";
  gbInstrument.Caption = "Instrument";
  edImage.Name = "edImage";
  lName.Name = "lName";
  edLong.Name = "edLong";
  edLong.ReadOnly = true;
  edDescription.Name = "edDescription";
  edDescription.Caption = "Description";
  edDescription.ReadOnly = true;
  edPort.Name = "edPort";
  edPort.Caption = "Port No";
  edPathName.Name = "edPathName";
  edPathName.Caption = "EXE FIle Name";
  edPathName.ReadOnly = true;
  rgBrowser.Name = "rgBrowser";
  cbInstrumentSet.Name = "cbInstrumentSet";
  cbInstrumentSet.Caption = "Instrument Set";
  lvInstruments.Name = "lvInstruments";
  lvInstruments.Checkboxes = true;
  lvInstruments.Columns = {{"Available Instruments", 240}, {"FileName", 300}};
  rgType.Name = "rgType";
  rgType.Caption = "Instrument Type";
  rgType.Items = instrumentTypeNames();
  rgType.Columns = 2;
  rgType.ItemIndex = 0;
  bbOK.Name = "bbOK";
  bbCancel.Name = "bbCancel";
  bbCancel.Caption = "Cancel";
}

void TfrmAddInstrument::FormCreate(const std::string& appPath) {
  AppPath = appPath;
  cbInstrumentSet.Items = listInstrumentSets(appPath);
  cbInstrumentSet.ItemIndex = 0;
}

void TfrmAddInstrument::FormShow() {
  edImage.FileName.clear();
  if (Caption == AddCaption) {
    bbOK.Caption = "Add checked instruments";
    bbOK.Width = 168;
    ListInstruments(instrumentTypeCode(rgType.ItemIndex));
    for (TListItem& item : lvInstruments.Items) item.Checked = false;
  } else {
    bbOK.Caption = "Save changes";
    bbOK.Width = 120;
    LoadFromIni(changeFileExt(edPathName.Text, ".ini"));
  }
}

void TfrmAddInstrument::ClearDisplay() {
  edImage.FileName.clear();
  edPort.Text.clear();
  edPathName.Text.clear();
  edLong.Text.clear();
  edDescription.Text.clear();
}

void TfrmAddInstrument::LoadFromIni(const std::string& iniFileName) {
  const InstrumentDescription d = readDescription(AppPath, iniFileName);
  lName.Caption = d.ShortName;
  edLong.Text = d.LongName;
  edDescription.Text = d.Description;
  if (edPort.Text.empty()) edPort.Text = d.DefaultPort;
  edImage.FileName = d.PicturePath;
}

void TfrmAddInstrument::ListInstruments(const std::string& typeCode) {
  lvInstruments.Items.clear();
  lvInstruments.ItemIndex = -1;
  for (const CatalogEntry& entry : listCatalog(AppPath, selectedSet(), typeCode))
    lvInstruments.Items.push_back({entry.Stem, {entry.FileName}, false});
  if (!lvInstruments.Items.empty()) selectInstrument(0);
}

void TfrmAddInstrument::cbInstrumentSetChange() {
  ClearDisplay();
  rgType.ItemIndex = 0;
  ListInstruments(instrumentTypeCode(0));
}

void TfrmAddInstrument::rgTypeClick() {
  ClearDisplay();
  ListInstruments(instrumentTypeCode(rgType.ItemIndex));
}

void TfrmAddInstrument::lvInstrumentsSelectItem(int index, bool selected) {
  if (!selected || index < 0 || index >= static_cast<int>(lvInstruments.Items.size())) return;
  ClearDisplay();
  const std::string relative = relativeExePath(selectedSet(), lvInstruments.Items[index].SubItems[0]);
  try {
    LoadFromIni(changeFileExt(relative, ".ini"));
  } catch (const std::exception&) {
    // A description that cannot be shown leaves what was filled in; there is no message.
  }
  edPathName.Text = relative;
}

void TfrmAddInstrument::selectSet(int index) {
  if (index == cbInstrumentSet.ItemIndex) return;
  cbInstrumentSet.ItemIndex = index;
  cbInstrumentSetChange();
}

void TfrmAddInstrument::selectType(int index) {
  if (index == rgType.ItemIndex) return;
  rgType.ItemIndex = index;
  rgTypeClick();
}

void TfrmAddInstrument::selectInstrument(int index) {
  lvInstruments.ItemIndex = index;
  lvInstrumentsSelectItem(index, index >= 0);
}

void TfrmAddInstrument::setFixedWidth(int width) {
  MinWidth = MaxWidth = Width = width;
}

std::vector<std::size_t> TfrmAddInstrument::AddCheckedInstruments(InstrumentList& list,
    const std::string& multicastGroup, const std::string& flightSimPort) {
  std::vector<std::size_t> added;
  for (const TListItem& item : lvInstruments.Items) {
    if (!item.Checked) continue;
    // The port box is emptied first, so each row takes its own DefaultPort.
    ClearDisplay();
    const std::string relative = relativeExePath(selectedSet(), item.SubItems[0]);
    LoadFromIni(changeFileExt(relative, ".ini"));
    edPathName.Text = relative;
    added.push_back(list.add(instrumentRow(lName.Caption, edPort.Text, edPathName.Text,
                                           multicastGroup, flightSimPort,
                                           nextInstanceNumber(list, lName.Caption))));
  }
  return added;
}

}  // namespace vantrel
