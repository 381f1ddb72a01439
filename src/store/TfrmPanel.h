#pragma once
// The Panel Setup dialog: a panel's general settings and its background.
#include <cstdint>
#include <string>

#include "platform/Forms.h"
#include "platform/Ui.h"

namespace vantrel {

// A colour shown as a filled frame.
struct TColorSwatch : TControl {
  std::uint32_t Color = 0;  // 00BBGGRR
};

class TfrmPanel : public TForm {
 public:
  // The text that marks a panel that does not exist yet.
  static constexpr const char* NewPanelMarker = "[New Panel]";

  // Background types (rgType) and modes (rgSizeType).
  enum BackgroundType { btColor = 0, btImage = 1 };
  enum SizeType { stFullDesktop = 0, stOneMonitor = 1, stCustom = 2, stNoBackground = 3 };

  // colorDialog is the one colour chooser of the run; it outlives the dialog.
  TfrmPanel(Ui& ui, ColorChooser& colorDialog);

  // --- controls ------------------------------------------------------------------
  TGroupBox gbGeneral;
  TEdit edPanelName;
  TCheckBox cbBezels;
  TCheckBox cbLighting;
  TRadioGroup rgType;
  TGroupBox gbColor;
  TColorSwatch sBGColor;
  TButton btnColor;
  TCheckBox cbShowFrame;
  TColorSwatch pColorFrame;
  TSpinEdit edPixels;
  TCheckBox cbShowGrid;
  TSpinEdit edGrid;
  TGroupBox gbImage;
  TEdit edBGImage;
  TButton btnImage;
  TCheckBox cbImageSize;
  TGroupBox gbSize;
  TRadioGroup rgSizeType;
  TLabel lMonitor;
  TComboBox cbMonitor;
  TEdit edWidth;
  TLabel lBy;
  TEdit edHeight;
  TEdit edTop;
  TEdit edLeft;
  TButton btnOK;
  TButton btnCancel;

  // The control that takes the focus when the dialog opens; empty for the default.
  std::string ActiveControl;
  // Where the picture chooser opens (New Panel sets the data folder).
  std::string PictureInitialDir;

  // --- handlers ------------------------------------------------------------------
  void FormShow() override;
  void rgTypeClick();
  void rgSizeTypeClick();
  void cbImageSizeClick();
  void ToggleSize(bool visible);
  void cbMonitorCloseUp();
  void btnColorClick();
  void pColorFrameClick();
  void btnImageClick();

  // --- setters that act as the user's click would (the handler runs on a change) ---
  void selectType(int index);
  void selectSizeType(int index);
  void setImageSize(bool checked);
  // Selects a monitor entry without running cbMonitorCloseUp; an index that denotes no
  // entry selects the first one.
  void selectMonitor(int index);
  // Entries "1" .. monitorCount, the first selected.
  void fillMonitorList(int monitorCount);

  int type() const { return rgType.ItemIndex; }
  int sizeType() const { return rgSizeType.ItemIndex; }

 private:
  // The type is Image and "Use original Image Size" is unchecked.
  bool imageSized() const;
  // Width, Height, Top and Left := the rectangle of the selected monitor, when it exists.
  void takeSelectedMonitor();
  // Width, Height, Top and Left := the box around all monitors.
  void takeDesktop();
  void showMonitorList(bool visible);
  void showTopLeft(bool visible);

  Ui& ui_;
  ColorChooser& colorDialog_;
};

}  // namespace vantrel
