#include <set>

#include "shredder/workbench.h"
#include "tests/shredder/workbench_fixture.h"

namespace zuzar::testing {
namespace {

// The services the program itself hands to the handlers, on a desktop without a window.
TEST_F(WorkbenchTest, DesktopWorkbenchNamesFilesAtRandomAndPaintsWithoutWindows) {
  const Workbench desktop = MakeDesktopWorkbench(model);

  std::set<uint32_t> values;
  for (int i = 0; i < 16; ++i) values.insert(desktop.nextRandom());
  EXPECT_GT(values.size(), 1u);
  desktop.dispatchPaint();
  EXPECT_GT(desktop.getNow(), EncodeDateTime(2020, 1, 1, 0, 0, 0));
}

}  // namespace
}  // namespace zuzar::testing
