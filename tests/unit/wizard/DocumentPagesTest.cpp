#ifdef _WIN32
// The welcome, licence and readme pages on a scratch session, as real windows inside a plain
// window that stands in for the wizard frame (with a button 1001 for Next).
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "engine/session/SetupSession.h"
#include "platform/FileSystem.h"
#include "platform/win32/Win32Toolkit.h"
#include "project/Task.h"
#include "res/resource.h"
#include "support/FakeClock.h"
#include "support/FakeRegistry.h"
#include "support/FakeSystemFacts.h"
#include "support/RecordingShell.h"
#include "support/ScratchFolder.h"
#include "support/win32/MemoryCanvas.h"
#include "ui/SystemLibrary.h"
#include "wizard/ReadSoftLicense.h"
#include "wizard/ShowReadme.h"
#include "wizard/WelcomePage.h"

namespace tarn::wizard {
namespace {

using project::FieldName;
using project::SubTaskType;

// What start-up provides: OLE on this thread and atl.dll's host window class.
class ActiveXHost {
 public:
  ActiveXHost() : atl_(ui::LoadSystemLibrary("atl.dll")) {
    using AtlAxWinInitFn = BOOL WINAPI();
    if (atl_) {
      if (auto init = ui::LibraryFunction<AtlAxWinInitFn>(atl_.Get(), "AtlAxWinInit")) init();
    }
  }

 private:
  // Declared in this order, the library is freed before OLE is left.
  platform::OleScope ole_;
  ui::Library atl_;
};

// A top-level window with a Next button, in place of the wizard frame: it follows what the page
// it listens to allows.
class FrameStandIn : public PageListener {
 public:
  FrameStandIn() {
    hwnd_ = CreateWindowExA(0, "STATIC", "Frame", WS_POPUP | WS_VISIBLE, 0, 0, 800, 500, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    next_ = CreateWindowExA(0, "BUTTON", "Next", WS_CHILD | WS_VISIBLE, 700, 460, 80, 24, hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_NEXT)),
                            GetModuleHandleA(nullptr), nullptr);
  }
  ~FrameStandIn() { DestroyWindow(hwnd_); }
  void PageChanged(const CWizardPage& page) override {
    EnableWindow(next_, page.CanGoNext() ? TRUE : FALSE);
  }
  FrameStandIn(const FrameStandIn&) = delete;
  FrameStandIn& operator=(const FrameStandIn&) = delete;
  HWND Hwnd() const { return hwnd_; }
  HWND Next() const { return next_; }

 private:
  HWND hwnd_ = nullptr;
  HWND next_ = nullptr;
};

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& done, int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    PumpMessages();
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  PumpMessages();
  return done();
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(length, 0)));
  return text.c_str();
}

// The document control once the page has settled on showing text.
HWND WaitForTextBox(HWND page) {
  HWND box = nullptr;
  PumpUntil(
      [&] {
        box = GetDlgItem(page, IDC_DOCUMENT);
        return box && ClassOf(box) == "RichEdit20A";
      },
      15000);
  return box && ClassOf(box) == "RichEdit20A" ? box : nullptr;
}

BOOL CALLBACK CountDocumentControls(HWND hwnd, LPARAM count) {
  if (GetDlgCtrlID(hwnd) == IDC_DOCUMENT) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

project::Task DocumentTask(std::string_view id, SubTaskType type,
                           std::vector<std::pair<FieldName, std::string>> fields) {
  project::Task task(std::string(id), project::TaskType::ShowDialogBox, true);
  project::SubTask sub("10001", type);
  for (auto& f : fields) sub.AddField(f.first, f.second);
  task.AddSubTask(std::move(sub));
  return task;
}

std::string SampleFile(const std::string& name) {
  std::string bytes;
  auto files = platform::MakeSystemFileSystem();
  auto text = platform::ReadWholeFile(*files, std::string(TARN_SAMPLE_DIR) + "/" + name);
  return text.value_or(std::string());
}

class DocumentPagesTest : public testing::Test {
 protected:
  DocumentPagesTest() {
    dir.MakeFolder("temp");
    system.tempPath = dir.Path("temp") + "\\";
    session.RunStamp = "20050123202058000";
    session.Language.Load(std::string(TARN_SAMPLE_DIR) + "/Language.ini", dir.Files());
  }

  // Writes one of the installer's temporary files under its run-stamped name.
  void WriteTemp(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(platform::WriteWholeFile(dir.Files(),
                                         session.StampedTempName("[TempFileDir]\\" + name), bytes));
  }

  ActiveXHost host;
  test::ScratchFolder dir;
  test::FakeRegistry registry;
  test::FakeSystemFacts system;
  test::FakeClock clock;
  test::RecordingShell shell;
  engine::SetupSession session{engine::Platform{dir.Files(), registry, system, clock, shell}};
  FrameStandIn frame;
};

TEST_F(DocumentPagesTest, LicencePageShowsTheTextAndKeepsTheChoice) {
  WriteTemp("~TarnInstall-SoftDoc.HTM", SampleFile("docs/licence.htm"));
  const project::Task task =
      DocumentTask("2003", SubTaskType::ShowSoftDoc,
                   {{FieldName::FileType, "HTM"}, {FieldName::File, "C:\\docs\\licence.htm"}});
  CReadSoftLicense page(session);
  ASSERT_TRUE(page.Create(frame.Hwnd()));
  page.SetListener(&frame);
  SetWindowPos(page.Hwnd(), nullptr, 0, 64, 548, 250, SWP_NOZORDER);
  page.SetTask(&task);
  // The browser is hosted and asked first; only when it renders nothing does text take over.
  EXPECT_EQ(ClassOf(GetDlgItem(page.Hwnd(), IDC_DOCUMENT)), "AtlAxWin");
  HWND box = WaitForTextBox(page.Hwnd());
  ASSERT_NE(box, nullptr) << "the document control never fell back to text";
  EXPECT_TRUE(PumpUntil([&] { return !WindowText(box).empty(); }, 2000));
  const std::string text = WindowText(box);
  EXPECT_EQ(text.find("Tarn Sample 1.0 licence agreement"), 0u) << text;
  EXPECT_NE(text.find("free of charge."), std::string::npos) << text;
  EXPECT_NE(text.find("without installing anything."), std::string::npos) << text;
  EXPECT_EQ(text.find("font-family"), std::string::npos);
  EXPECT_EQ(text.find('<'), std::string::npos);
  // Read-only, alone under its ID, in the placeholder's rectangle.
  EXPECT_TRUE(GetWindowLongPtrA(box, GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(IsWindowVisible(box) || !IsWindowVisible(page.Hwnd()));
  int controls = 0;
  EnumChildWindows(page.Hwnd(), &CountDocumentControls, reinterpret_cast<LPARAM>(&controls));
  EXPECT_EQ(controls, 1);
  RECT expected{6, 5, 6 + 353, 5 + 121};
  MapDialogRect(page.Hwnd(), &expected);
  RECT actual{};
  GetWindowRect(box, &actual);
  MapWindowPoints(nullptr, page.Hwnd(), reinterpret_cast<POINT*>(&actual), 2);
  EXPECT_TRUE(EqualRect(&expected, &actual))
      << actual.left << "," << actual.top << "," << actual.right << "," << actual.bottom;

  // The radio buttons: language texts, in the normal font.
  EXPECT_EQ(WindowText(GetDlgItem(page.Hwnd(), IDC_ACCEPT)), "I &accept the agreement");
  EXPECT_EQ(WindowText(GetDlgItem(page.Hwnd(), IDC_REJECT)), "I &do not accept the agreement");
  LOGFONTA font{};
  GetObjectA(
      reinterpret_cast<HFONT>(SendDlgItemMessageA(page.Hwnd(), IDC_ACCEPT, WM_GETFONT, 0, 0)),
      sizeof font, &font);
  EXPECT_EQ(font.lfWeight, FW_NORMAL);

  // Entering as the frame does: Next disabled until the licence is accepted.
  const auto enter = [&] {
    EnableWindow(frame.Next(), page.CanGoNext() ? TRUE : FALSE);
    page.Show();
  };
  const auto checked = [&](int id) { return IsDlgButtonChecked(page.Hwnd(), id) == BST_CHECKED; };
  enter();
  EXPECT_TRUE(IsWindowVisible(page.Hwnd()));
  EXPECT_TRUE(checked(IDC_REJECT));
  EXPECT_FALSE(checked(IDC_ACCEPT));
  EXPECT_FALSE(IsWindowEnabled(frame.Next()));

  SendDlgItemMessageA(page.Hwnd(), IDC_ACCEPT, BM_CLICK, 0, 0);
  EXPECT_TRUE(session.LicenceAccepted);
  EXPECT_TRUE(IsWindowEnabled(frame.Next()));
  EXPECT_TRUE(checked(IDC_ACCEPT));
  SendDlgItemMessageA(page.Hwnd(), IDC_REJECT, BM_CLICK, 0, 0);
  EXPECT_FALSE(session.LicenceAccepted);
  EXPECT_FALSE(IsWindowEnabled(frame.Next()));
  SendDlgItemMessageA(page.Hwnd(), IDC_ACCEPT, BM_CLICK, 0, 0);

  // On to a later page and back: the choice stays.
  page.Hide();
  EXPECT_FALSE(IsWindowVisible(page.Hwnd()));
  EnableWindow(frame.Next(), TRUE);
  enter();
  EXPECT_TRUE(checked(IDC_ACCEPT));
  EXPECT_FALSE(checked(IDC_REJECT));
  EXPECT_TRUE(IsWindowEnabled(frame.Next()));

  // Enter and Escape inside the page leave it alone.
  SendMessageA(page.Hwnd(), WM_COMMAND, IDOK, 0);
  SendMessageA(page.Hwnd(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(IsWindow(page.Hwnd()));
  HWND pageWindow = page.Hwnd();
  page.Destroy();
  EXPECT_FALSE(IsWindow(pageWindow));
  EXPECT_FALSE(IsWindow(box));
}

const char kArchive[] =
    "MIME-Version: 1.0\r\n"
    "Content-Type: multipart/related; boundary=\"----=_Part\"\r\n"
    "\r\n"
    "------=_Part\r\n"
    "Content-Type: text/html; charset=\"Windows-1252\"\r\n"
    "Content-Transfer-Encoding: quoted-printable\r\n"
    "\r\n"
    "<html><body><h1>Archived notes</h1><p class=3D\"x\">Read them caref=\r\n"
    "ully &amp; twice.</p></body></html>\r\n"
    "------=_Part--\r\n";

TEST_F(DocumentPagesTest, ReadmePageShowsTheDocumentItsTaskNames) {
  WriteTemp("~TarnInstall-SoftReadme.HTM", SampleFile("docs/readme.htm"));
  WriteTemp("~TarnInstall-SoftReadme.MHT", kArchive);
  const struct {
    const char* name;
    std::vector<std::pair<FieldName, std::string>> fields;
    const char* expected;  // start of the text; "" for an empty box
  } cases[] = {
      {"HTML document",
       {{FieldName::FileType, "HTM"}, {FieldName::File, "x.htm"}},
       "Before you install Tarn Sample 1.0\r\n\r\nThank you for choosing Tarn Sample."},
      {"lower-case m picks the archive",
       {{FieldName::FileType, "m"}, {FieldName::File, "x.mht"}},
       "Archived notes\r\n\r\nRead them carefully & twice."},
      {"the file is missing",
       {{FieldName::FileType, "M"}, {FieldName::FileType, "H"}, {FieldName::File, "x"}},
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const project::Task task = DocumentTask("2004", SubTaskType::ShowReadme, c.fields);
    CShowReadme page(session);
    ASSERT_TRUE(page.Create(frame.Hwnd()));
    page.SetTask(&task);
    page.Show();
    HWND box = WaitForTextBox(page.Hwnd());
    ASSERT_NE(box, nullptr);
    PumpUntil([&] { return !WindowText(box).empty(); }, *c.expected ? 2000 : 300);
    const std::string text = WindowText(box);
    EXPECT_EQ(text.substr(0, std::string(c.expected).size()), c.expected) << text;
    if (!*c.expected) {
      EXPECT_EQ(text, "");
    }
    EXPECT_TRUE(GetWindowLongPtrA(box, GWL_STYLE) & ES_READONLY);
    page.Destroy();
  }
}

// --- Welcome page ---

constexpr COLORREF kUntouched = RGB(1, 2, 3);
constexpr COLORREF kPanel = RGB(250, 250, 250);
constexpr COLORREF kNavy = RGB(0, 0, 128);

TEST_F(DocumentPagesTest, WelcomePagePaintsPanelPictureAndGreeting) {
  const struct {
    const char* name;
    std::int32_t dpi;
    bool picture;
  } cases[] = {{"96 DPI with the picture", 96, true},
               {"96 DPI without the picture", 96, false},
               {"144 DPI without the picture", 144, false},
               {"144 DPI with the picture", 144, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    system.logPixelsY = c.dpi;
    session.Metrics = engine::PageMetricsForDpi(c.dpi);
    const std::string picture =
        session.StampedTempName("[TempFileDir]\\~TarnInstall-WelcomeWndPicture.bmp");
    if (c.picture)
      WriteTemp("~TarnInstall-WelcomeWndPicture.bmp", SampleFile("pictures/welcome.bmp"));
    else
      dir.Files().RemoveFile(picture);

    CWelcomePage page(session);
    ASSERT_TRUE(page.Create(frame.Hwnd()));
    const int width = session.Metrics.width;
    const int height = session.Metrics.height;
    SetWindowPos(page.Hwnd(), nullptr, 0, 0, width, height, SWP_NOZORDER);
    page.SetTask(nullptr);
    page.Show();
    PumpMessages();

    // The page prints its client area into it.
    test::MemoryCanvas canvas(width, height, kUntouched);
    SendMessageA(page.Hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    // The panel reaches from x = 163 (at 120 DPI, in proportion above) to the right edge and
    // down to the bottom of the page.
    const int scale = c.dpi > 120 ? c.dpi : 120;
    const int panelLeft = 163 * scale / 120;
    EXPECT_EQ(canvas.At(panelLeft + 37, height - 2), kPanel);
    EXPECT_EQ(canvas.At(width - 2, height - 2), kPanel);
    EXPECT_EQ(canvas.At(width - 2, 2), kPanel);
    EXPECT_EQ(canvas.At(panelLeft + 7, 2), kPanel);
    // The picture fills the left part, or it is left as it was.
    if (c.picture) {
      EXPECT_NE(canvas.At(10, 10), kUntouched);
      EXPECT_NE(canvas.At(panelLeft, 100), kPanel);
      // Above 120 DPI the 164 x 314 picture is stretched over its whole part of the page.
      if (c.dpi > 120) {
        EXPECT_NE(canvas.At(panelLeft - 1, height - 2), kUntouched);
        EXPECT_NE(canvas.At(panelLeft - 1, height - 2), kPanel);
      }
    } else {
      EXPECT_EQ(canvas.At(10, 10), kUntouched);
      EXPECT_EQ(canvas.At(panelLeft - 1, 100), kUntouched);
      EXPECT_EQ(canvas.At(panelLeft, 100), kPanel);
    }
    // Two navy lines at the top, two black ones below, none further down.
    const int line3 = 84 * scale / 120;
    EXPECT_GT(canvas.Count(kNavy, 0, line3), 100);
    EXPECT_EQ(canvas.Count(kNavy, line3, height), 0);
    EXPECT_EQ(canvas.Count(RGB(0, 0, 0), 0, line3), 0);
    EXPECT_GT(canvas.Count(RGB(0, 0, 0), line3, line3 + 50 * scale / 120), 100);
    EXPECT_EQ(canvas.Count(RGB(0, 0, 0), line3 + 60 * scale / 120, height), 0);
    page.Destroy();
  }
}

}  // namespace
}  // namespace tarn::wizard
#endif
