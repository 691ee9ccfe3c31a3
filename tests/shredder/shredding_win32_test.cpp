// A deletion that Windows refuses after the rename went through.

#include <string>

#include "tests/shredder/workbench_fixture.h"

namespace zuzar::testing {
namespace {

constexpr int32_t kReadOnly = 1;

TEST_F(WorkbenchTest, RefusedDeletionIsReportedAndTheFileIsBackUnderItsName) {
  MakeFile("held.txt", 100);
  OpenThroughDialog("held.txt");
  // A read-only file can still be renamed but no longer deleted. The attribute is set while the
  // file is held, at the pause before the files are closed.
  int32_t pauses = 0;
  duringPause = [&pauses](int32_t) {
    if (++pauses == 4) {
      EXPECT_TRUE(SetFileAttrs("held.txt", kReadOnly));
    }
  };

  model.Click(ControlId::按钮2);
  const std::vector<std::string> names = ScratchNames();
  SetFileAttrs("held.txt", 0);

  const std::string log(Log());
  EXPECT_EQ(log.substr(log.rfind("粉碎时间：")), "粉碎时间：" + std::string(kStampText) +
                                                   "\r\n文件粉碎失败：文件未能删除。\r\n" +
                                                   std::string(kRule) + "\r\n\r\n");
  EXPECT_EQ(names, Journal{"held.txt"});
  EXPECT_EQ(ReadFile("held.txt"), "") << "emptied before it was closed";
  EXPECT_TRUE(InNoFile());
}

}  // namespace
}  // namespace zuzar::testing
