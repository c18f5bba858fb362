// The tests' scripted UI: answers in order, default buttons when the script
// runs out, and the previous UI back afterwards.
#include "tests/support/scripted_ui.h"

#include <gtest/gtest.h>

namespace dpx::test {
namespace {

TEST(ScriptedUi, AnswersFromTheScriptThenWithDefaultButtons) {
  ScriptedUi ui;
  ui.answers = {mb::kIdNo};
  EXPECT_EQ(Ui().messageBox("first?", "cap", mb::kYesNo | mb::kIconQuestion), mb::kIdNo);
  struct Case {
    uint32_t flags;
    int answer;
  };
  const Case defaults[] = {
      {mb::kYesNo, mb::kIdYes},
      {mb::kYesNo | mb::kDefaultButton2, mb::kIdNo},
      {mb::kYesNoCancel | mb::kDefaultButton3, mb::kIdCancel},
      {mb::kYesNoCancel | mb::kDefaultButton2 | mb::kSetForeground, mb::kIdNo},
      {mb::kOk | mb::kIconError | mb::kSetForeground, mb::kIdOk},
  };
  for (const auto& c : defaults) EXPECT_EQ(Ui().messageBox("q", "cap", c.flags), c.answer) << c.flags;
  ASSERT_EQ(ui.boxes.size(), 6u);
  EXPECT_EQ(ui.boxes[0].text, "first?");
  EXPECT_EQ(ui.boxes[0].flags, mb::kYesNo | mb::kIconQuestion);
  EXPECT_EQ(ui.boxes[0].answer, mb::kIdNo);

  std::string path = "proposed.xml";
  ui.saveAs = {std::string("/chosen.xml"), std::nullopt};
  EXPECT_EQ(Ui().showSaveFileForm("Save", "/folder", path, "xml", 2031), 0);
  EXPECT_EQ(path, "/chosen.xml");
  EXPECT_EQ(Ui().showSaveFileForm("Save", "/folder", path, "xml", 2031), 1);
  EXPECT_EQ(Ui().showSaveFileForm("Save", "/folder", path, "xml", 2031), 1);
  EXPECT_EQ(path, "/chosen.xml") << "a cancelled dialog leaves the path";
  EXPECT_EQ(ui.saveDialogs.at(0).proposedPath, "proposed.xml");
}

TEST(ScriptedUi, RecordsStatusProgressAndWaitCursorAndRestoresThePreviousUi) {
  UiServices* before = &Ui();
  {
    ScriptedUi outer;
    {
      ScriptedUi inner;
      Ui().setStatusText("bold", false, 5000);
      Ui().setProgressRange("Loading", 0, 10);
      Ui().setProgressPos(3);
      { WaitCursor wait; }
      EXPECT_EQ(inner.statusErrors(), std::vector<std::string>{"bold"});
      ASSERT_EQ(inner.progress.size(), 2u);
      EXPECT_TRUE(inner.progress[0].isRange);
      EXPECT_EQ(inner.progress[0].upper, 10);
      EXPECT_EQ(inner.progress[1].pos, 3);
      EXPECT_EQ(inner.waitCursorBegins, 1);
      EXPECT_EQ(inner.waitCursorDepth, 0);
    }
    EXPECT_EQ(&Ui(), &outer);
    EXPECT_TRUE(outer.status.empty());
  }
  EXPECT_EQ(&Ui(), before);
}

}  // namespace
}  // namespace dpx::test
