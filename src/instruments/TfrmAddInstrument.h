#pragma once
// The Add Instrument dialog: browse the catalog by set and type, see an instrument's
// picture and texts, tick instruments and add them. Narrowed to its left box it is the
// Edit Instrument dialog.
#include <string>
#include <vector>

#include "platform/Forms.h"
#include "store/Panel.h"

namespace vantrel {

class TfrmAddInstrument : public TForm {
 public:
  static constexpr const char* AddCaption = "Add Instrument";
  static constexpr int AddWidth = 670;
  static constexpr int EditWidth = 405;

  TfrmAddInstrument();

  // --- controls ------------------------------------------------------------------
  TGroupBox gbInstrument;  // the left box
  TImage edImage;
  TLabel lName;
  TEdit edLong;
  TEdit edDescription;
  TEdit edPort;
  TEdit edPathName;
  TGroupBox rgBrowser;  // the right box
  TComboBox cbInstrumentSet;
  TListView lvInstruments;
  TRadioGroup rgType;
  TButton bbOK;
  TButton bbCancel;

  // The window's width and its limits; the height may grow from MinHeight.
  int Width = AddWidth;
  int MinWidth = AddWidth;
  int MaxWidth = AddWidth;
  int MinHeight = 602;

  // --- handlers ------------------------------------------------------------------
  // Builds the set list from the catalog in appPath, once, when the program starts.
  void FormCreate(const std::string& appPath);
  // Add mode when the caption is "Add Instrument", otherwise edit mode.
  void FormShow() override;
  void ClearDisplay();
  // Shows the description file at AppPath + iniFileName.
  void LoadFromIni(const std::string& iniFileName);
  void cbInstrumentSetChange();
  void rgTypeClick();
  // A row became selected (or deselected, which does nothing).
  void lvInstrumentsSelectItem(int index, bool selected);

  // --- setters that act as the user's choice would (the handler runs on a change) ---
  void selectSet(int index);
  void selectType(int index);
  void selectInstrument(int index);
  // Width, MinWidth and MaxWidth := width.
  void setFixedWidth(int width);
  // Refills the catalog list for the selected set and type code, selecting and showing
  // the first row.
  void ListInstruments(const std::string& typeCode);
  std::string selectedSet() const { return cbInstrumentSet.selectedText(); }

  // After OK in add mode: appends a row for each checked instrument, in list order.
  // Returns where each row went at the moment it was added.
  std::vector<std::size_t> AddCheckedInstruments(InstrumentList& list, const std::string& multicastGroup,
                             const std::string& flightSimPort);

  std::string AppPath;
};

}  // namespace vantrel
