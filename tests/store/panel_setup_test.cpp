#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/Error.h"
#include "store/PanelFolder.h"
#include "store/PanelSetup.h"
#include "store/TfrmPanel.h"
#include "support/MainFixture.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace vantrel::test {
namespace {

// Two monitors: the main one, and one to its left with negative coordinates.
const std::vector<MonitorInfo> kTwoMonitors = {{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}};

struct SetupFixture {
  TempDir home;  // the data folder
  ScriptedUi ui;
  ColorChooser chooser;
  SetupFixture() { ui.monitorList = kTwoMonitors; }
  std::string iniPath() const { return home.str(); }
  std::filesystem::path folder(const std::string& name) const {
    const auto p = home.path() / ("Panel_" + name);
    std::filesystem::create_directories(p);
    return p;
  }
  std::unique_ptr<TfrmPanel> dialog() {
    auto d = std::make_unique<TfrmPanel>(ui, chooser);
    d->fillMonitorList(static_cast<int>(ui.monitorList.size()));
    return d;
  }
  // A dialog filled from the panel's files and shown.
  std::unique_ptr<TfrmPanel> opened(const std::string& name) {
    auto d = dialog();
    LoadPanelSetup(*d, iniPath(), name);
    d->FormShow();
    return d;
  }
  void save(TfrmPanel& d, const std::string& name) { WritePanelFiles(d, iniPath(), name, ui); }
  std::string panelFile(const std::string& name) const {
    return readFile(folder(name) / (name + ".ini"));
  }
  std::string bgFile(const std::string& name) const {
    return readFile(folder(name) / "Scrimlay.ini");
  }
};

struct Shown {
  bool monitorList, size, topLeft;
};
Shown shown(const TfrmPanel& d) {
  EXPECT_EQ(d.lMonitor.Visible, d.cbMonitor.Visible);
  EXPECT_EQ(d.edWidth.Visible, d.edHeight.Visible);
  EXPECT_EQ(d.edWidth.Visible, d.lBy.Visible);
  EXPECT_EQ(d.edTop.Visible, d.edLeft.Visible);
  return {d.cbMonitor.Visible, d.edWidth.Visible, d.edTop.Visible};
}
std::string rect(const TfrmPanel& d) {
  return d.edWidth.Text + "x" + d.edHeight.Text + " at " + d.edLeft.Text + "," + d.edTop.Text;
}

TEST(PanelSetupDialog, StartsAsTheFormIsDesigned) {
  SetupFixture f;
  TfrmPanel d(f.ui, f.chooser);
  EXPECT_EQ(d.Caption, "Panel Setup");
  EXPECT_EQ(d.ClientWidth, 450);
  EXPECT_EQ(d.ClientHeight, 424);
  EXPECT_EQ(d.type(), TfrmPanel::btColor);
  EXPECT_EQ(d.sizeType(), TfrmPanel::stFullDesktop);
  EXPECT_TRUE(d.cbBezels.Checked);
  EXPECT_FALSE(d.cbLighting.Checked || d.cbShowFrame.Checked || d.cbShowGrid.Checked ||
               d.cbImageSize.Checked);
  EXPECT_TRUE(d.gbColor.Visible);
  EXPECT_FALSE(d.gbImage.Visible);
  EXPECT_EQ(d.pColorFrame.Color, 0u);
  EXPECT_EQ(d.edPixels.Value, 1);
  EXPECT_EQ(d.edGrid.Value, 40);
  EXPECT_EQ(d.edPixels.MinValue, 1);
  EXPECT_EQ(d.edGrid.MaxValue, 50);
  EXPECT_EQ(d.cbMonitor.Items, std::vector<std::string>{"1"});
  EXPECT_EQ(rect(d), "800x600 at 0,0");
  EXPECT_EQ(d.rgSizeType.Items.size(), 4u);
  EXPECT_EQ(d.rgType.Columns, 2);

  d.fillMonitorList(3);
  EXPECT_EQ(d.cbMonitor.Items, (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(d.cbMonitor.ItemIndex, 0);
}

// What the user sees for each type, mode and "Use original Image Size", and the rectangle
// the mode fills in (the desktop box is 3200x1080; its corner is written as 0,0).
struct ViewCase {
  int type;
  int mode;
  bool imageSize;
  Shown expect;
  const char* rect;
};

TEST(PanelSetupDialog, TypeModeAndImageSizeDecideWhatIsShown) {
  const ViewCase cases[] = {
      {0, 0, false, {false, false, false}, "3200x1080 at 0,0"},
      {0, 1, false, {true, false, false}, "1920x1080 at 0,0"},
      // Custom keeps what the dialog showed when it opened.
      {0, 2, false, {false, true, true}, "3200x1080 at 0,0"},
      {0, 3, false, {false, false, false}, "3200x1080 at 0,0"},
      {1, 0, true, {false, false, false}, "3200x1080 at 0,0"},
      {1, 1, true, {true, false, false}, "1920x1080 at 0,0"},
      {1, 2, true, {false, false, true}, "3200x1080 at 0,0"},
      {1, 0, false, {false, true, false}, "3200x1080 at 0,0"},
      {1, 1, false, {true, true, false}, "1920x1080 at 0,0"},
      {1, 2, false, {false, true, true}, "3200x1080 at 0,0"},
      // The image-size check runs after every mode, No Background included.
      {1, 3, false, {false, true, false}, "3200x1080 at 0,0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("type " + std::to_string(c.type) + " mode " + std::to_string(c.mode) +
                 " imageSize " + std::to_string(c.imageSize));
    SetupFixture f;
    auto d = f.dialog();
    d->FormShow();
    d->selectType(c.type);
    d->setImageSize(c.imageSize);
    d->selectSizeType(c.mode);
    const Shown s = shown(*d);
    EXPECT_EQ(s.monitorList, c.expect.monitorList);
    EXPECT_EQ(s.size, c.expect.size);
    EXPECT_EQ(s.topLeft, c.expect.topLeft);
    EXPECT_EQ(rect(*d), c.rect);
    // Opening the dialog again settles the same state.
    d->FormShow();
    EXPECT_EQ(shown(*d).size, c.expect.size);
    EXPECT_EQ(rect(*d), c.rect);
  }
}

TEST(PanelSetupDialog, TypeClicksSwapTheGroupsAndCheckImageSize) {
  SetupFixture f;
  auto d = f.dialog();
  d->selectSizeType(TfrmPanel::stCustom);
  d->edBGImage.Text = "/pics/sky.png";

  d->selectType(TfrmPanel::btImage);
  EXPECT_FALSE(d->gbColor.Visible);
  EXPECT_TRUE(d->gbImage.Visible);
  EXPECT_TRUE(d->cbImageSize.Checked);
  EXPECT_FALSE(shown(*d).size) << "custom size hidden right after choosing Image";
  EXPECT_EQ(d->edBGImage.Text, "/pics/sky.png");

  d->setImageSize(false);
  EXPECT_TRUE(shown(*d).size);

  d->selectType(TfrmPanel::btColor);
  EXPECT_TRUE(d->gbColor.Visible);
  EXPECT_FALSE(d->gbImage.Visible);
  EXPECT_EQ(d->edBGImage.Text, "") << "Color forgets the picture";
  EXPECT_TRUE(shown(*d).size);
}

TEST(PanelSetupDialog, MonitorChoiceTakesThatMonitorsRectangle) {
  SetupFixture f;
  auto d = f.dialog();
  d->selectSizeType(TfrmPanel::stOneMonitor);
  EXPECT_EQ(rect(*d), "1920x1080 at 0,0");
  d->cbMonitor.ItemIndex = 1;
  d->cbMonitorCloseUp();
  EXPECT_EQ(rect(*d), "1280x1024 at -1280,0");

  // A monitor that went away since the list was filled changes nothing.
  f.ui.monitorList.resize(1);
  d->cbMonitorCloseUp();
  EXPECT_EQ(rect(*d), "1280x1024 at -1280,0");
}

TEST(PanelSetupDialog, NameBoxIsOpenOnlyForANewPanel) {
  SetupFixture f;
  for (const auto& [name, open] : {std::pair{"[New Panel]", true}, std::pair{"A", false},
                                   std::pair{"[new panel]", false}, std::pair{"", false}}) {
    auto d = f.dialog();
    d->edPanelName.Text = name;
    d->FormShow();
    EXPECT_EQ(d->edPanelName.Enabled, open) << name;
    EXPECT_EQ(d->ActiveControl, open ? "edPanelName" : "") << name;
  }
}

TEST(PanelSetupDialog, ColourChoosersShareOneDialogAndCancelDiffers) {
  SetupFixture f;
  auto d = f.dialog();
  d->sBGColor.Color = 0x00123456;
  d->pColorFrame.Color = 0x000000FF;

  f.ui.expectColor(std::nullopt);
  d->btnColorClick();
  EXPECT_EQ(d->sBGColor.Color, 0x00123456u) << "cancel keeps the background colour";

  f.ui.expectColor(std::nullopt);
  d->pColorFrameClick();
  EXPECT_EQ(d->pColorFrame.Color, 0u) << "cancel turns the frame black";

  f.ui.expectColor(0x00FF0000);
  d->btnColorClick();
  EXPECT_EQ(d->sBGColor.Color, 0x00FF0000u);
  EXPECT_EQ(f.chooser.Color, 0x00FF0000u) << "the chooser opens on its last choice next time";

  f.ui.expectColor(0x0000FF00);
  d->pColorFrameClick();
  EXPECT_EQ(d->pColorFrame.Color, 0x0000FF00u);
  EXPECT_EQ(d->sBGColor.Color, 0x00FF0000u);
}

TEST(PanelSetupDialog, PictureChooserOffersFiveTypesFromItsFolder) {
  SetupFixture f;
  auto d = f.dialog();
  d->PictureInitialDir = "/data/folder";
  f.ui.expectOpenFile("/pics/sky.JPG");
  d->btnImageClick();
  EXPECT_EQ(d->edBGImage.Text, "/pics/sky.JPG");
  f.ui.expectOpenFile(std::nullopt);
  d->btnImageClick();
  EXPECT_EQ(d->edBGImage.Text, "/pics/sky.JPG");

  ASSERT_EQ(f.ui.fileDialogs.size(), 2u);
  const auto& o = f.ui.fileDialogs[0];
  EXPECT_EQ(o.title, "Select Background Image");
  EXPECT_EQ(o.initialDir, "/data/folder");
  EXPECT_EQ(o.filter,
            "Bitmap Image File (*.bmp)|*.bmp|JPEG Image File (*.jpg)|*.jpg|"
            "GIF Image File (*.gif)|*.gif|PNG Image File (*.png)|*.png|"
            "TIFF Image File (*.tif)|*.tif");
}

// The bytes of both files for each mode, with every other control away from its default.
struct ModeCase {
  int mode;
  const char* showBackground;
  const char* panelMonitor;
  const char* width;
  const char* height;
  const char* top;
  const char* left;
  const char* monitor;
};

std::string expectedPanelFile(const ModeCase& c) {
  return std::string("[Config]\r\n") +
         "PanelName=A\r\n"
         "PanelBGImage=\r\n"
         "PanelBGColor=16744448\r\n"
         "ShowBackground=" + c.showBackground + "\r\n"
         "PanelMonitor=" + c.panelMonitor + "\r\n"
         "No_of_Screens=2\r\n"
         "Screen_0_Height=1080\r\n"
         "Screen_0_Width=1920\r\n"
         "Screen_1_Height=1024\r\n"
         "Screen_1_Width=1280\r\n"
         "ShowBezels=0\r\n"
         "EnableLighting=1\r\n";
}

std::string expectedBackgroundFile(const ModeCase& c) {
  return std::string("[Settings]\r\n") +
         "Type=0\r\n"
         "ImageFileName=\r\n"
         "Color=$00FF8000\r\n"
         "FrameColor=clRed\r\n"
         "Width=" + c.width + "\r\n"
         "Height=" + c.height + "\r\n"
         "UseImageSize=0\r\n"
         "ShowFrame=1\r\n"
         "FrameWidth=3\r\n"
         "ShowGrid=1\r\n"
         "GridSpacing=25\r\n"
         "SizeType=" + std::to_string(c.mode) + "\r\n"
         "Monitor=" + c.monitor + "\r\n"
         "[Position]\r\n"
         "Top=" + c.top + "\r\n"
         "Left=" + c.left + "\r\n";
}

TEST(WritePanelFiles, WritesBothFilesInKeyOrderForEachModeAndReadsThemBack) {
  const ModeCase cases[] = {
      {0, "1", "0", "3200", "1080", "0", "0", "0"},
      {1, "1", "1", "1280", "1024", "0", "-1280", "1"},
      {2, "1", "0", "1000", "700", "-20", "30", "0"},
      {3, "0", "0", "3200", "1080", "0", "0", "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode));
    SetupFixture f;
    f.folder("A");
    auto d = f.dialog();
    d->edPanelName.Text = "A";
    d->FormShow();
    d->cbBezels.Checked = false;
    d->cbLighting.Checked = true;
    d->sBGColor.Color = 0x00FF8000;
    d->pColorFrame.Color = 0x000000FF;
    d->cbShowFrame.Checked = true;
    d->edPixels.Value = 3;
    d->cbShowGrid.Checked = true;
    d->edGrid.Value = 25;
    d->selectSizeType(c.mode);
    if (c.mode == TfrmPanel::stOneMonitor) {
      d->cbMonitor.ItemIndex = 1;
      d->cbMonitorCloseUp();
    }
    if (c.mode == TfrmPanel::stCustom) {
      d->edWidth.Text = "1000";
      d->edHeight.Text = "700";
      d->edTop.Text = "-20";
      d->edLeft.Text = "30";
    }
    f.save(*d, "A");
    EXPECT_EQ(f.panelFile("A"), expectedPanelFile(c));
    EXPECT_EQ(f.bgFile("A"), expectedBackgroundFile(c));

    auto again = f.opened("A");
    EXPECT_EQ(again->sizeType(), c.mode);
    EXPECT_EQ(again->cbMonitor.ItemIndex, c.mode == 1 ? 1 : 0);
    EXPECT_EQ(rect(*again), rect(*d));
    EXPECT_EQ(again->edPanelName.Text, "A");
    EXPECT_FALSE(again->edPanelName.Enabled);
    EXPECT_FALSE(again->cbBezels.Checked);
    EXPECT_TRUE(again->cbLighting.Checked && again->cbShowFrame.Checked &&
                again->cbShowGrid.Checked);
    EXPECT_EQ(again->sBGColor.Color, 0x00FF8000u);
    EXPECT_EQ(again->pColorFrame.Color, 0x000000FFu);
    EXPECT_EQ(again->edPixels.Value, 3);
    EXPECT_EQ(again->edGrid.Value, 25);
    EXPECT_FALSE(again->cbImageSize.Enabled) << "a Color panel";
  }
}

TEST(WritePanelFiles, TypedSizeInDesktopModeIsWrittenButReopeningTakesTheDesktop) {
  SetupFixture f;
  f.folder("A");
  auto d = f.dialog();
  d->selectType(TfrmPanel::btImage);
  d->setImageSize(false);
  ASSERT_TRUE(shown(*d).size);
  d->edWidth.Text = "500";
  d->edHeight.Text = " 4x0";  // unchecked: the text goes to the file as typed
  f.save(*d, "A");
  const std::string bg = f.bgFile("A");
  EXPECT_NE(bg.find("\r\nWidth=500\r\nHeight= 4x0\r\n"), std::string::npos) << bg;
  EXPECT_EQ(rect(*f.opened("A")), "3200x1080 at 0,0");
}

TEST(WritePanelFiles, KeysASaveDoesNotWriteKeepTheirValues) {
  SetupFixture f;
  const auto folder = f.folder("A");
  writeFile(folder / "A.ini",
            "; hand-made\r\n[Config]\r\nPanelName=A\r\nNo_of_Screens=4\r\n"
            "Screen_0_Height=1\r\nScreen_0_Width=2\r\nScreen_1_Height=3\r\nScreen_1_Width=4\r\n"
            "Screen_2_Height=768\r\nScreen_2_Width=1024\r\nScreen_3_Height=600\r\n"
            "Screen_3_Width=800\r\nOwnKey=kept\r\n");
  auto d = f.opened("A");
  f.save(*d, "A");
  const std::string ini = f.panelFile("A");
  for (const char* line :
       {"; hand-made\r\n[Config]\r\nPanelName=A\r\n", "No_of_Screens=2\r\n",
        "Screen_0_Height=1080\r\nScreen_0_Width=1920\r\nScreen_1_Height=1024\r\nScreen_1_Width=1280\r\n",
        "Screen_2_Height=768\r\nScreen_2_Width=1024\r\nScreen_3_Height=600\r\nScreen_3_Width=800\r\n",
        "OwnKey=kept\r\n"})
    EXPECT_NE(ini.find(line), std::string::npos) << line << "\nin:\n" << ini;
}

TEST(WritePanelFiles, PictureIsCopiedOnceAndLeftOrDroppedAsTheImageTextSays) {
  SetupFixture f;
  TempDir pics;
  const std::string sky = pics.write("sky.JPG", "sky picture");
  const auto folder = f.folder("A");
  const auto copy = folder / "ScrimlayImage.JPG";
  auto imageNames = [&] {
    const std::string ini = f.panelFile("A"), bg = f.bgFile("A");
    const auto value = [](const std::string& text, const std::string& key) {
      const auto at = text.find("\r\n" + key + "=");
      if (at == std::string::npos) return std::string("<missing>");
      const auto start = at + key.size() + 3;
      return text.substr(start, text.find("\r\n", start) - start);
    };
    const std::string a = value(ini, "PanelBGImage"), b = value(bg, "ImageFileName");
    EXPECT_EQ(a, b) << "both files name the same picture";
    return a;
  };

  // A chosen picture is copied under the panel's own name, extension case kept.
  auto d = f.dialog();
  d->selectType(TfrmPanel::btImage);
  d->edBGImage.Text = sky;
  f.save(*d, "A");
  EXPECT_EQ(imageNames(), "ScrimlayImage.JPG");
  EXPECT_EQ(readFile(copy), "sky picture");

  // Confirming again copies nothing: the dialog holds the copy's name.
  writeFile(sky, "changed original");
  d = f.opened("A");
  EXPECT_EQ(d->edBGImage.Text, "ScrimlayImage.JPG");
  f.save(*d, "A");
  EXPECT_EQ(imageNames(), "ScrimlayImage.JPG");
  EXPECT_EQ(readFile(copy), "sky picture");

  // The copy chosen by its full path stays whole, under its plain name.
  d->edBGImage.Text = copy.string();
  f.save(*d, "A");
  EXPECT_EQ(imageNames(), "ScrimlayImage.JPG");
  EXPECT_EQ(readFile(copy), "sky picture");

  // Switching to Color empties the name; the old copy stays.
  d->selectType(TfrmPanel::btColor);
  f.save(*d, "A");
  EXPECT_EQ(imageNames(), "");
  EXPECT_TRUE(std::filesystem::exists(copy));

  // A picture that is not there: no name, and the stale copy of that extension goes.
  d->selectType(TfrmPanel::btImage);
  d->edBGImage.Text = (pics.path() / "gone.JPG").string();
  f.save(*d, "A");
  EXPECT_EQ(imageNames(), "");
  EXPECT_FALSE(std::filesystem::exists(copy));
}

TEST(WritePanelFiles, AnotherPanelsCopyIsCopiedSoThePanelOwnsItsPicture) {
  SetupFixture f;
  f.folder("A");
  const auto other = f.folder("B") / "ScrimlayImage.png";
  writeFile(other, "B's picture");
  auto d = f.dialog();
  d->selectType(TfrmPanel::btImage);
  d->edBGImage.Text = other.string();
  f.save(*d, "A");
  EXPECT_EQ(readFile(f.folder("A") / "ScrimlayImage.png"), "B's picture");
  EXPECT_NE(f.panelFile("A").find("\r\nPanelBGImage=ScrimlayImage.png\r\n"), std::string::npos);
}

TEST(LoadPanelSetup, OutOfRangeValuesAreShownWithinTheControlsLimits) {
  SetupFixture f;
  const auto folder = f.folder("A");
  writeFile(folder / "Scrimlay.ini",
            "[Settings]\r\nType=1\r\nFrameWidth=80\r\nGridSpacing=-5\r\nSizeType=1\r\n"
            "Monitor=5\r\nUseImageSize=0\r\n");
  auto d = f.opened("A");
  EXPECT_EQ(d->edPixels.Value, 50);
  EXPECT_EQ(d->edGrid.Value, 1);
  // A monitor that is no longer attached: the first one is taken.
  EXPECT_EQ(d->cbMonitor.ItemIndex, 0);
  EXPECT_EQ(rect(*d), "1920x1080 at 0,0");
  EXPECT_TRUE(d->cbImageSize.Enabled);
  EXPECT_FALSE(d->cbImageSize.Checked);
  EXPECT_TRUE(shown(*d).size);
  EXPECT_EQ(d->edPanelName.Text, "A") << "a missing panel file names the panel after its folder";
  EXPECT_TRUE(d->cbBezels.Checked);
  EXPECT_EQ(d->pColorFrame.Color, 0u);

  f.save(*d, "A");
  const std::string bg = f.bgFile("A");
  EXPECT_NE(bg.find("\r\nFrameWidth=50\r\n"), std::string::npos) << bg;
  EXPECT_NE(bg.find("\r\nGridSpacing=1\r\n"), std::string::npos) << bg;
  EXPECT_NE(bg.find("\r\nMonitor=0\r\n"), std::string::npos) << bg;
}

TEST(LoadPanelSetup, JunkFrameColourIsAConversionError) {
  SetupFixture f;
  writeFile(f.folder("A") / "Scrimlay.ini", "[Settings]\r\nFrameColor=purple\r\n");
  auto d = f.dialog();
  try {
    LoadPanelSetup(*d, f.iniPath(), "A");
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "'purple' is not a valid integer value");
  }
}

// --- the Edit Panel command -------------------------------------------------------------

struct EditFixture : MainFixture {
  TfrmMain* m = nullptr;
  explicit EditFixture(const std::string& panel = "A") {
    ui.monitorList = kTwoMonitors;
    m = &create();
    m->MonitorCount = 2;
    if (!panel.empty()) makePanel(panel);
    m->CurrentPanel = panel;
  }
  std::filesystem::path folder(const std::string& name) const {
    return std::filesystem::path(dataFolder()) / ("Panel_" + name);
  }
};

TfrmPanel& asPanel(TForm& form) {
  auto* p = dynamic_cast<TfrmPanel*>(&form);
  EXPECT_NE(p, nullptr);
  return *p;
}

TEST(EditPanel, ColorPanelGetsImageSizeCheckedAndLockedWhenSwitchedToImage) {
  EditFixture f;
  writeFile(f.folder("A") / "Scrimlay.ini", "[Settings]\r\nType=0\r\nUseImageSize=0\r\n");
  f.ui.expectModal([](TForm& form) {
    TfrmPanel& d = asPanel(form);
    EXPECT_EQ(d.Caption, "Panel Setup");
    EXPECT_EQ(d.cbMonitor.Items, (std::vector<std::string>{"1", "2"}));
    EXPECT_FALSE(d.cbImageSize.Enabled);
    EXPECT_FALSE(d.cbImageSize.Checked);
    d.selectType(TfrmPanel::btImage);
    EXPECT_TRUE(d.cbImageSize.Checked);
    EXPECT_FALSE(d.cbImageSize.Enabled);
    d.selectSizeType(TfrmPanel::stNoBackground);
    return ModalResult::OK;
  });
  f.m->execute("aEditSettings");
  const std::string bg = readFile(f.folder("A") / "Scrimlay.ini");
  EXPECT_NE(bg.find("Type=1\r\n"), std::string::npos) << bg;
  EXPECT_NE(bg.find("\r\nUseImageSize=1\r\n"), std::string::npos) << bg;
  // The panel state follows what was saved.
  EXPECT_FALSE(f.m->Panel.ShowBackground);
  EXPECT_EQ(f.m->Panel.Monitors.Count, 2);
  EXPECT_EQ(f.m->CurrentPanel, "A");
}

TEST(EditPanel, CancelWritesNothingButTheStateIsReadAgain) {
  EditFixture f;
  const std::string ini = "[Config]\r\nPanelName=A\r\nEnableLighting=1\r\n";
  writeFile(f.folder("A") / "A.ini", ini);
  f.ui.expectModal([](TForm& form) {
    asPanel(form).cbLighting.Checked = false;
    return ModalResult::Cancel;
  });
  f.m->execute("aEditSettings");
  EXPECT_EQ(readFile(f.folder("A") / "A.ini"), ini);
  EXPECT_FALSE(std::filesystem::exists(f.folder("A") / "Scrimlay.ini"));
  EXPECT_TRUE(f.m->Panel.EnableLighting);
}

TEST(EditPanel, JunkFrameColourEndsTheCommandBeforeTheDialog) {
  EditFixture f;
  const std::string bg = "[Settings]\r\nFrameColor=clRedish\r\n";
  writeFile(f.folder("A") / "Scrimlay.ini", bg);
  f.ui.expectMessage("'clRedish' is not a valid integer value");
  f.m->execute("aEditSettings");
  EXPECT_TRUE(f.ui.modalForms.empty());
  EXPECT_EQ(readFile(f.folder("A") / "Scrimlay.ini"), bg);
  EXPECT_FALSE(std::filesystem::exists(f.folder("A") / "A.ini"));
}

TEST(EditPanel, WithNoPanelLoadedTheSaveReportsItCannotWrite) {
  EditFixture f("");
  f.ui.expectModal([](TForm&) { return ModalResult::OK; });
  f.ui.expectMessage("Unable to write to " + panelFilePath(f.m->IniPath, ""));
  f.m->execute("aEditSettings");
  EXPECT_EQ(f.m->CurrentPanel, "");
}

TEST(EditPanel, BadTopStopsTheSaveAfterTheSettingsAndTheStateFollowsTheFile) {
  EditFixture f;
  f.ui.expectModal([](TForm& form) {
    TfrmPanel& d = asPanel(form);
    d.cbBezels.Checked = false;
    d.selectSizeType(TfrmPanel::stCustom);
    d.edTop.Text = "ten";
    return ModalResult::OK;
  });
  f.ui.expectMessage("'ten' is not a valid integer value");
  ASSERT_TRUE(f.m->Panel.ShowBezels);
  f.m->execute("aEditSettings");
  const std::string bg = readFile(f.folder("A") / "Scrimlay.ini");
  EXPECT_NE(bg.find("\r\nMonitor=0\r\n"), std::string::npos) << bg;
  EXPECT_EQ(bg.find("[Position]"), std::string::npos) << bg;
  EXPECT_NE(readFile(f.folder("A") / "A.ini").find("\r\nShowBezels=0\r\n"), std::string::npos);
  EXPECT_FALSE(f.m->Panel.ShowBezels);
}

}  // namespace
}  // namespace vantrel::test
