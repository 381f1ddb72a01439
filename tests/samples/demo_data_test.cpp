// The demo's data folder as shipped in demo/: it must start as the README says and lay
// its instruments out on one 1920x1080 monitor without overlaps.
#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <algorithm>
#include <filesystem>

#include "common/Placement.h"
#include "common/SampleArgs.h"
#include "store/IniFile.h"
#include "store/InstrumentFile.h"

namespace vantrel::samples {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(VANTREL_SOURCE_DIR) / "demo" / "Quorvane" / "Dexalune";
const fs::path kBin = VANTREL_BIN_DIR;

TEST(DemoData, SettingsSwitchPanelsAndStartTheSkyhawk) {
  const IniFile settings((kData / "vantrel.ini").string(), FlagStyle::YesNo);
  EXPECT_TRUE(settings.readBool("Config", "PanelSwitching", false));
  EXPECT_TRUE(settings.readBool("Config", "AutoStart", false));
  EXPECT_EQ(settings.readString("Config", "LastPanelUsed", ""), "C172 Skyhawk");
  // An aircraft id finds its panel by a part of the folder name.
  EXPECT_TRUE(fs::is_directory(kData / "Panel_C172 Skyhawk"));
  EXPECT_TRUE(fs::is_directory(kData / "Panel_B737"));
}

TEST(DemoData, EveryInstrumentIsInTheCatalogAndNoneOverlapsAnother) {
  struct Panel {
    std::string name;
    std::size_t atLeast;
    std::string picture;  // the background picture, or empty for a colour
  };
  for (const Panel& p : {Panel{"C172 Skyhawk", 5, "ScrimlayImage.png"}, Panel{"B737", 3, ""}}) {
    SCOPED_TRACE(p.name);
    const fs::path folder = kData / ("Panel_" + p.name);
    InstrumentList list;
    std::string problem;
    ASSERT_TRUE(readInstrumentFile((folder / (p.name + ".cfg")).string(), list, problem)) << problem;
    EXPECT_GE(list.size(), p.atLeast);
    const IniFile panelFile((folder / (p.name + ".ini")).string());
    EXPECT_TRUE(panelFile.readBool("Config", "ShowBackground", false));
    const IniFile background((folder / "Scrimlay.ini").string());
    EXPECT_EQ(background.readString("Settings", "ImageFileName", ""), p.picture);
    if (!p.picture.empty()) EXPECT_FALSE(QImage(QString::fromStdString((folder / p.picture).string())).isNull());

    std::vector<std::pair<std::string, QRect>> placed;
    for (const InstrumentRow& row : list.rows()) {
      std::string path = row.SubItems[1];
      std::replace(path.begin(), path.end(), '\\', '/');
      EXPECT_TRUE(fs::exists(kBin / path)) << path;
      EXPECT_TRUE(row.Checked) << row.Caption;
      const std::string stem = fileStemOf(path);
      const fs::path placementFile = folder / (stem + row.SubItems[5] + ".ini");
      ASSERT_TRUE(fs::exists(placementFile)) << placementFile;
      const Placement pl = readPlacement(placementFile.string());
      // The catalog picture is drawn at the instrument's own size.
      const QImage picture(QString::fromStdString(
          (kBin / fs::path(path).parent_path() / (stem + ".png")).string()));
      ASSERT_FALSE(picture.isNull()) << stem;
      const QRect r(pl.X, pl.Y, static_cast<int>(picture.width() * pl.ScaleSize),
                    static_cast<int>(picture.height() * pl.ScaleSize));
      EXPECT_EQ(pl.Monitor, 0) << stem;
      EXPECT_TRUE(QRect(0, 0, 1920, 1080).contains(r)) << stem;
      for (const auto& [other, o] : placed) EXPECT_FALSE(r.intersects(o)) << stem << " and " << other;
      placed.emplace_back(stem, r);
    }
  }
}

}  // namespace
}  // namespace vantrel::samples
