// The main window's skin images: the start-up load order with its stop at the
// first missing file, the page tabs, and the normal/hover/selected rule of
// every image button. The start folder holds copies of the shipped skin.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/main_window_model.h"
#include "support/fake_host.h"
#include "support/no_hid.h"
#include "support/recording_pointer_sink.h"
#include "support/temp_dir.h"

namespace korvane::app {
namespace {

namespace fs = std::filesystem;
using korvane::testing::FakeHost;
using korvane::testing::NoHid;
using korvane::testing::TempDir;

// The images of each start-up step, in load order, by the names the window
// gives them.
struct LoadStep {
  const char* file;
  std::vector<std::string> images;
};

std::vector<std::string> numbered(const std::string& prefix, int count) {
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i) {
    names.push_back(prefix + std::to_string(i));
  }
  return names;
}

std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

const std::vector<LoadStep>& loadOrder() {
  static const std::vector<LoadStep> steps = {
      {"basemap", {"img_base"}},
      {"title_base_1", numbered("img_title", 5)},
      {"btn_base", {"img_page1"}},
      {"macro_base", {"img_page3"}},
      {"dpi_base", {"img_page5"}},
      {"led_base", {"img_page4"}},
      {"sys_base", {"img_page2"}},
      {"mode_base_1", numbered("img_mode", 5)},
      {"macro_btn1_1", {"img_load", "img_new", "img_save", "img_delete", "img_cancel"}},
      {"macro_btn2_1", {"img_REC"}},
      {"macro_btn3_1", {"img_MseLeft", "img_MseRight", "img_MseMid", "img_delkey", "img_Time"}},
      {"macro_btn4_1", {"img_delay_i"}},
      {"macro_btn5_1", {"img_delay_d"}},
      {"report_1", {"btn_125hz", "btn_250hz", "btn_500hz", "btn_1000hz"}},
      {"led_base_1", joined({{"btn_LEDOpen", "btn_LEDClose"},
                             numbered("btn_LEDBre", 6),
                             numbered("btn_LEDcolor", 8),
                             numbered("btn_Motor", 4)})},
      {"10Keys", {"img_gbMenu"}},
      {"9Keys", {"img_gboffice"}},
      {"8Keys", {"img_gbmedia", "img_gbwin8"}},
      {"7Keys", {"img_gbie", "img_gbos", "img_gbbasekeys"}},
      {"5Keys", {"img_gbgaming"}},
      {"4Keys", {"img_gbother"}},
  };
  return steps;
}

// A start folder holding the whole shipped skin, and a window model over it.
struct SkinFolder {
  SkinFolder() {
    fs::create_directories(skins());
    for (const auto& entry : fs::directory_iterator(fs::path(KORVANE_SOURCE_DIR) / "dist/skins")) {
      fs::copy_file(entry.path(), skins() / entry.path().filename());
    }
  }

  fs::path skins() const { return start.path() / "skins"; }
  fs::path skinFile(const std::string& base) const { return skins() / (base + ".png"); }
  void removeSkin(const std::string& base) const {
    EXPECT_TRUE(fs::remove(skinFile(base))) << base;
  }

  MainWindowModel& model() {
    if (!model_) {
      model_ = std::make_unique<MainWindowModel>(host, hid, pointerSink, start.path(),
                                                 start.path() / "korvane-driver");
    }
    return *model_;
  }
  // The whole start-up, as the window runs it.
  MainWindowModel& started() {
    model().FormCreate();
    return model();
  }

  Image& image(const std::string& name) {
    if (Image* control = model().find<Image>(name)) {
      return *control;
    }
    ADD_FAILURE() << "no control named " << name;
    static Image missing;
    return missing;
  }
  fs::path picture(const std::string& name) { return image(name).picture; }

  TempDir start;
  FakeHost host;
  NoHid hid;
  korvane::testing::RecordingPointerSink pointerSink;
  std::unique_ptr<MainWindowModel> model_;
};

class Skin : public ::testing::Test, protected SkinFolder {};

TEST(SkinLoadOrder, TheFirstMissingFileEndsTheLoadAndLeavesEveryLaterImageBlank) {
  struct Case {
    const char* removed;  // nothing removed: every step loads
    std::size_t stepsLoaded;
  };
  const Case cases[] = {
      {"basemap", 0},   {"dpi_base", 4}, {"mode_base_1", 7},
      {"report_1", 13}, {"4Keys", 20},   {nullptr, 21},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.removed ? c.removed : "none removed");
    SkinFolder fixture;
    if (c.removed) {
      fixture.removeSkin(c.removed);
    }
    MainWindowModel& model = fixture.model();
    model.useResourceFolders();  // the start folder, as start-up takes it
    model.LoadMainSkin();
    for (std::size_t s = 0; s < loadOrder().size(); ++s) {
      const LoadStep& step = loadOrder()[s];
      for (const std::string& name : step.images) {
        if (s < c.stepsLoaded) {
          EXPECT_EQ(fixture.picture(name), fixture.skinFile(step.file)) << name;
        } else {
          EXPECT_TRUE(fixture.image(name).blank()) << name << " shows " << fixture.picture(name);
        }
      }
    }
  }
}

// Without dpi_base: the window, the tabs and the button and macro pages have
// their pictures; the sensitivity, lighting and pointer pages, the mode bars,
// the macro, report and lighting buttons and the menus have none.
TEST_F(Skin, WithoutDpiBaseOnlyTheFirstPagesHaveTheirBackgrounds) {
  removeSkin("dpi_base");
  MainWindowModel& m = started();
  EXPECT_FALSE(m.img_base.blank());
  for (const Image& bar : m.img_title) {
    EXPECT_FALSE(bar.blank());
  }
  EXPECT_EQ(picture("img_page1"), skinFile("btn_base"));    // page_MseKeys
  EXPECT_EQ(picture("img_page3"), skinFile("macro_base"));  // page_Macro
  for (const char* blank :
       {"img_page5", "img_page4", "img_page2", "img_mode1", "img_new", "img_REC", "img_Time",
        "btn_250hz", "btn_LEDcolor3", "img_gbMenu", "img_gbother"}) {
    EXPECT_TRUE(image(blank).blank()) << blank;
  }
  // The window still works: the tabs switch pages.
  m.ShowPage(4);
  EXPECT_EQ(m.visiblePage(), 4);
}

TEST_F(Skin, ATabShowsItsPageWithItsBarSelectedAndClosesTheFunctionMenu) {
  MainWindowModel& m = started();
  m.keys.KeyClick(1);
  m.keys.categoryEnter(3);
  ASSERT_TRUE(m.keys.gbMenu.visible);

  m.ShowPage(3);
  EXPECT_EQ(m.visiblePage(), 3);
  EXPECT_TRUE(m.page_About.visible);
  for (const Panel* other : {&m.page_MseKeys, &m.page_Macro, &m.page_BreathLED, &m.page_MseAdv}) {
    EXPECT_FALSE(other->visible);
  }
  for (int tab = 1; tab <= kPageCount; ++tab) {
    EXPECT_EQ(picture("img_title" + std::to_string(tab)),
              skinFile(tab == 3 ? "title_base_3" : "title_base_1"))
        << tab;
  }
  EXPECT_FALSE(m.keys.gbMenu.visible);
  for (const CategoryPanel& panel : m.keys.panels) {
    EXPECT_FALSE(panel.panel.visible) << panel.name;
  }
}

TEST_F(Skin, LeavingATabReturnsItsBarToSelectedOrNormal) {
  MainWindowModel& m = started();
  m.ShowPage(2);
  struct Case {
    int tab;
    const char* afterLeave;
  };
  for (const Case& c : {Case{2, "title_base_3"}, Case{4, "title_base_1"}}) {
    m.pageTabEnter(c.tab);
    EXPECT_EQ(picture("img_title" + std::to_string(c.tab)), skinFile("title_base_2")) << c.tab;
    m.pageTabLeave(c.tab);
    EXPECT_EQ(picture("img_title" + std::to_string(c.tab)), skinFile(c.afterLeave)) << c.tab;
  }
}

TEST_F(Skin, WithoutTheHoverPictureATabKeepsItsBarAndAllElseWorks) {
  removeSkin("title_base_2");
  MainWindowModel& m = started();
  EXPECT_EQ(picture("img_gbother"), skinFile("4Keys"));  // the load was not cut short
  const std::uint64_t loads = m.img_title[3].loads;
  m.pageTabEnter(4);
  EXPECT_EQ(picture("img_title4"), skinFile("title_base_1"));
  EXPECT_EQ(m.img_title[3].loads, loads);
  m.pageTabLeave(4);
  m.ShowPage(4);
  EXPECT_EQ(picture("img_title4"), skinFile("title_base_3"));
  EXPECT_EQ(picture("img_title1"), skinFile("title_base_1"));
}

// A small file whose header claims 30000 × 30000 pixels is refused by its
// header, before any decoding: it counts as unreadable, as a missing file
// does, so the bars keep the picture they have.
TEST_F(Skin, APictureFarLargerThanTheWindowCountsAsUnreadable) {
  const fs::path huge = fs::path(KORVANE_FIXTURES_DIR) / "skins" / "HugeDimensionsInHeader.png";
  fs::copy_file(huge, skinFile("title_base_2"), fs::copy_options::overwrite_existing);
  MainWindowModel& m = started();
  const std::uint64_t loads = m.img_title[3].loads;
  m.pageTabEnter(4);
  EXPECT_EQ(picture("img_title4"), skinFile("title_base_1"));
  EXPECT_EQ(m.img_title[3].loads, loads);

  // At start-up it ends the load as a missing file would.
  SkinFolder again;
  fs::copy_file(huge, again.skinFile("dpi_base"), fs::copy_options::overwrite_existing);
  again.started();
  EXPECT_EQ(again.picture("img_page3"), again.skinFile("macro_base"));
  EXPECT_TRUE(again.image("img_page5").blank());
}

TEST_F(Skin, AChoiceHoversAndKeepsItsSelectionOnLeave) {
  MainWindowModel& m = started();
  m.modes.pnl_modeClick(2);
  EXPECT_EQ(picture("img_mode2"), skinFile("mode_base_3"));
  EXPECT_EQ(picture("img_mode1"), skinFile("mode_base_1"));
  for (int mode : {1, 2}) {
    m.modes.modeEnter(mode);
    EXPECT_EQ(picture("img_mode" + std::to_string(mode)), skinFile("mode_base_2"));
    m.modes.modeLeave(mode);
  }
  EXPECT_EQ(picture("img_mode1"), skinFile("mode_base_1"));
  EXPECT_EQ(picture("img_mode2"), skinFile("mode_base_3"));
}

TEST_F(Skin, ACommandShowsPressedWhileItRunsAndNormalAfter) {
  MainWindowModel& m = started();
  m.macro.img_cancel.enter(m.state());
  EXPECT_EQ(picture("img_cancel"), skinFile("macro_btn1_2"));
  m.macro.img_cancel.leave(m.state());
  EXPECT_EQ(picture("img_cancel"), skinFile("macro_btn1_1"));

  fs::path duringPause;
  host.onWait = [&] { duringPause = m.macro.img_cancel.picture; };
  m.macro.lbl_cancleClick();
  EXPECT_EQ(duringPause, skinFile("macro_btn1_3"));
  EXPECT_EQ(host.waits, std::vector<int>{200});
  EXPECT_EQ(picture("img_cancel"), skinFile("macro_btn1_1"));
}

TEST_F(Skin, AReportChoiceIgnoresTheMouseAndShowsTheSelectedOneInItsSecondPicture) {
  MainWindowModel& m = started();
  Image& rate250 = image("btn_250hz");
  const std::uint64_t loads = rate250.loads;
  m.sensitivity.btn_hz[1].enter(m.state());
  m.sensitivity.btn_hz[1].leave(m.state());
  EXPECT_EQ(rate250.loads, loads);

  m.sensitivity.btn_hzClick(2);
  EXPECT_EQ(picture("btn_250hz"), skinFile("report_2"));
  for (const char* other : {"btn_125hz", "btn_500hz", "btn_1000hz"}) {
    EXPECT_EQ(picture(other), skinFile("report_1")) << other;
  }
}

TEST_F(Skin, EveryStateChangeReadsTheFileAgainAndAMissingFileKeepsThePicture) {
  MainWindowModel& m = started();
  SkinImage& bar = m.modes.img_mode[0];
  bar.enter(m.state());
  const std::uint64_t firstHover = bar.loads;

  // The hover picture is replaced on disk between two hovers.
  fs::copy_file(skinFile("mode_base_3"), skinFile("mode_base_2"),
                fs::copy_options::overwrite_existing);
  bar.leave(m.state());
  bar.enter(m.state());
  EXPECT_EQ(bar.loads, firstHover + 2);
  EXPECT_EQ(bar.picture, skinFile("mode_base_2"));

  removeSkin("mode_base_1");
  const std::uint64_t beforeLeave = bar.loads;
  bar.leave(m.state());
  EXPECT_EQ(bar.picture, skinFile("mode_base_2"));
  EXPECT_EQ(bar.loads, beforeLeave);
}

}  // namespace
}  // namespace korvane::app

namespace korvane::app {
namespace {

// The smallest file that carries a PNG's size: signature and IHDR header.
std::string pngHeader(std::uint32_t width, std::uint32_t height) {
  std::string bytes = "\x89PNG\r\n\x1a\n";
  bytes += std::string("\0\0\0\x0dIHDR", 8);
  for (const std::uint32_t value : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) {
      bytes += static_cast<char>((value >> shift) & 0xFF);
    }
  }
  return bytes;
}

TEST_F(Skin, EachMenuTakesTheSizeOfItsPicture) {
  start.write("skins/9Keys.png", pngHeader(200, 240));
  MainWindowModel& m = started();
  const CategoryPanel& office = m.keys.panels[2];
  EXPECT_EQ(office.panel.geometry.width, 200);
  EXPECT_EQ(office.panel.geometry.height, 240);
  EXPECT_EQ(m.keys.gbMenu.geometry.width, 217);  // the shipped 10Keys
  EXPECT_EQ(m.keys.gbMenu.geometry.height, 250);
  EXPECT_EQ(m.keys.panels[7].panel.geometry.height, 106);  // 4Keys
  EXPECT_EQ(pictureSize(skinFile("basemap")).value().width, 905);
  EXPECT_FALSE(pictureSize(start.path() / "missing.png").has_value());
}

}  // namespace
}  // namespace korvane::app
