// The window's icons as the toolkit gets them: the committed picture pixel
// for pixel, and the application icon at 32 and 16 when the bytes are no icon.

#include "media/window_icons.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdlib>
#include <string>

#include "media/assets.h"

namespace vorlindy::testing {
namespace {

// Brings the toolkit up once for the whole run; any assertion or logged
// message fails the test that caused it.
class ToolkitEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    wxApp::SetInstance(new wxApp);
    static int argc = 1;
    static char name[] = "media_window_icons_test";
    static char* argv[] = {name, nullptr};
    ASSERT_TRUE(wxEntryStart(argc, argv)) << "no X display?";
    ASSERT_TRUE(wxTheApp->CallOnInit());
    wxSetAssertHandler([](const wxString& file, int line, const wxString&, const wxString& cond,
                          const wxString& msg) {
      ADD_FAILURE() << "wx assertion at " << file << ":" << line << ": " << cond << " " << msg;
    });
    wxLog::SetActiveTarget(new FailingLog);  // the toolkit owns its log target
  }
  void TearDown() override { wxEntryCleanup(); }

 private:
  class FailingLog : public wxLog {
    void DoLogTextAtLevel(wxLogLevel, const wxString& text) override {
      ADD_FAILURE() << "the toolkit logged: " << text;
    }
  };
};

[[maybe_unused]] const auto* const kToolkit =
    ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

struct Pixel {
  int red, green, blue, alpha;
};

// The committed ICO's own pixels, read straight from its bytes.
Pixel IcoPixel(int x, int y) {
  const auto p = WindowIconData().subspan(22 + 40 + ((31 - y) * 32 + x) * 4, 4);
  return {p[2], p[1], p[0], p[3]};
}

Pixel ImagePixel(const wxImage& image, int x, int y) {
  return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y),
          image.HasAlpha() ? image.GetAlpha(x, y) : 255};
}

// Compares what the toolkit shows; colour is meaningless where a pixel is
// fully transparent, and premultiplied storage may move it by a step or two
// where it is nearly so.
void ExpectSamePicture(const wxImage& image, const std::string& what) {
  ASSERT_EQ(image.GetWidth(), 32) << what;
  ASSERT_EQ(image.GetHeight(), 32) << what;
  ASSERT_TRUE(image.HasAlpha()) << what;
  int mismatches = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const Pixel want = IcoPixel(x, y), got = ImagePixel(image, x, y);
      const int slack = want.alpha == 255 ? 0 : 512 / (want.alpha + 1) + 1;
      const bool same = got.alpha == want.alpha &&
                        (want.alpha == 0 || (std::abs(got.red - want.red) <= slack &&
                                             std::abs(got.green - want.green) <= slack &&
                                             std::abs(got.blue - want.blue) <= slack));
      if (!same && ++mismatches <= 5) {
        ADD_FAILURE() << what << " at " << x << "," << y << ": got " << got.red << " " << got.green
                      << " " << got.blue << " " << got.alpha << ", want " << want.red << " "
                      << want.green << " " << want.blue << " " << want.alpha;
      }
    }
  }
}

wxImage ImageOf(const wxIcon& icon) {
  wxBitmap bitmap;
  bitmap.CopyFromIcon(icon);
  return bitmap.ConvertToImage();
}

TEST(WindowIcons, CommittedIconGivesItsOwn32By32Picture) {
  const wxIconBundle icons = MakeWindowIcons(WindowIconData());
  ASSERT_EQ(icons.GetIconCount(), 1u);
  const wxIcon icon = icons.GetIconOfExactSize(wxSize(32, 32));
  ASSERT_TRUE(icon.IsOk());
  ExpectSamePicture(ImageOf(icon), "window icon");
}

TEST(WindowIcons, DesktopPngIsTheSamePicture) {
  wxImage::AddHandler(new wxPNGHandler);
  wxImage png;
  ASSERT_TRUE(png.LoadFile(VORLINDY_ASSET_DIR "/vorlindy.png", wxBITMAP_TYPE_PNG));
  ExpectSamePicture(png, "vorlindy.png");
}

struct IconBytesCase {
  const char* name;
  std::string bytes;
};

class UnusableIconBytes : public ::testing::TestWithParam<IconBytesCase> {};

TEST_P(UnusableIconBytes, GiveTheApplicationIconAt32And16) {
  const std::string& bytes = GetParam().bytes;
  const wxIconBundle icons =
      MakeWindowIcons({reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()});
  ASSERT_EQ(icons.GetIconCount(), 2u);
  const wxIcon large = icons.GetIconOfExactSize(wxSize(32, 32));
  const wxIcon small = icons.GetIconOfExactSize(wxSize(16, 16));
  ASSERT_TRUE(large.IsOk());
  ASSERT_TRUE(small.IsOk());
  ExpectSamePicture(ImageOf(large), "large application icon");
  // The small one is the picture shrunk: opaque in the middle, clear corners.
  const wxImage shrunk = ImageOf(small);
  ASSERT_EQ(shrunk.GetWidth(), 16);
  ASSERT_TRUE(shrunk.HasAlpha());
  EXPECT_EQ(shrunk.GetAlpha(0, 0), 0);
  EXPECT_EQ(shrunk.GetAlpha(8, 8), 255);
}

std::string IcoPrefix(std::size_t length) {
  return std::string(reinterpret_cast<const char*>(WindowIconData().data()), length);
}

INSTANTIATE_TEST_SUITE_P(Cases, UnusableIconBytes,
                         ::testing::Values(IconBytesCase{"empty", ""},
                                           IconBytesCase{"text", "not an icon at all"},
                                           IconBytesCase{"truncated_ico", IcoPrefix(100)},
                                           IconBytesCase{"directory_only", IcoPrefix(22)}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorlindy::testing
