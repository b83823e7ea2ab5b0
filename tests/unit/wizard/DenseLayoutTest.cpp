#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "engine/session/PageMetrics.h"
#include "res/resource.h"
#include "support/win32/HostWindow.h"
#include "support/win32/PageSession.h"
#include "wizard/ChangeInstallPath.h"
#include "wizard/InstallProcess.h"
#include "wizard/ReadSoftLicense.h"
#include "wizard/RegisterInfo.h"
#include "wizard/SelectProgramFolder.h"

namespace tarn::wizard {
namespace {

RECT ChildRect(HWND page, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(page, id), &r);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Up to 120 DPI the pages keep the dialog font's placement of their templates; above it the
// controls sit at two pixels a dialog unit at 120, in proportion, inside the page area.
TEST(DenseLayout, PagesFollowTheDisplayAboveOneHundredTwentyDpi) {
  using Factory = std::function<std::unique_ptr<CWizardPage>(engine::SetupSession&)>;
  const struct {
    const char* name;
    Factory make;
    int id;
    RECT units;  // left, top, width, height in the template
  } pages[] = {
      {"licence: reject",
       [](auto& s) { return std::make_unique<CReadSoftLicense>(s); },
       IDC_REJECT,
       {6, 141, 161, 10}},
      {"user information: company",
       [](auto& s) { return std::make_unique<CRegisterInfo>(s); },
       IDC_COMPANY,
       {133, 72, 143, 12}},
      {"program folder: list",
       [](auto& s) { return std::make_unique<CSelectProgramFolder>(s); },
       IDC_FOLDER_LIST,
       {7, 72, 351, 76}},
      {"install path: size line",
       [](auto& s) { return std::make_unique<CChangeInstallPath>(s); },
       IDC_SIZE_LINE,
       {135, 138, 232, 10}},
      {"progress: bar",
       [](auto& s) { return std::make_unique<CInstallProcess>(s); },
       IDC_PROGRESS,
       {13, 71, 339, 14}},
  };
  // The page area below the band, in pixels, of each density above 120.
  const struct {
    int dpi;
    SIZE area;
  } densities[] = {{96, {}}, {120, {}}, {144, {876, 367}}, {168, {1022, 428}}, {192, {1168, 489}}};

  test::HostWindow host;
  for (const auto& d : densities) {
    for (const auto& p : pages) {
      SCOPED_TRACE(std::string(p.name) + " at " + std::to_string(d.dpi));
      test::PageSession s;
      s.system.logPixelsY = d.dpi;
      s.session.Metrics = engine::PageMetricsForDpi(d.dpi);
      s.session.InstallDir = "C:\\Program Files\\Tarn Sample";
      const auto page = p.make(s.session);
      ASSERT_TRUE(page->Create(host.Get()));
      const HWND h = page->Hwnd();
      const RECT r = ChildRect(h, p.id);
      if (d.dpi <= 120) {
        // Position and size each in the font's units, as the dialog manager places them.
        RECT font = p.units;
        MapDialogRect(h, &font);
        EXPECT_EQ(r.left, font.left);
        EXPECT_EQ(r.top, font.top);
        EXPECT_EQ(r.right, font.left + font.right);
        EXPECT_EQ(r.bottom, font.top + font.bottom);
      } else {
        const auto expectAt = [&](LONG actual, int units) {
          EXPECT_LE(std::abs(actual - units * d.dpi / 60), 1) << units << " units";
        };
        expectAt(r.left, p.units.left);
        expectAt(r.top, p.units.top);
        expectAt(r.bottom, p.units.top + p.units.bottom);
        if ((p.units.left + p.units.right) * d.dpi / 60 < d.area.cx)
          expectAt(r.right, p.units.left + p.units.right);
        else
          EXPECT_EQ(r.right, d.area.cx);
        // Every shown control inside the page area, none over another.
        std::vector<RECT> shown;
        for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
          if (!(GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE)) continue;
          RECT cr{};
          GetWindowRect(c, &cr);
          MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&cr), 2);
          EXPECT_TRUE(cr.left >= 0 && cr.top >= 0 && cr.right <= d.area.cx &&
                      cr.bottom <= d.area.cy)
              << "control " << GetDlgCtrlID(c) << " at " << cr.left << "," << cr.top << " to "
              << cr.right << "," << cr.bottom;
          for (const RECT& other : shown) {
            RECT common{};
            EXPECT_FALSE(IntersectRect(&common, &cr, &other)) << "control " << GetDlgCtrlID(c);
          }
          shown.push_back(cr);
        }
      }
      page->Destroy();
    }
  }
}

}  // namespace
}  // namespace tarn::wizard
#endif
