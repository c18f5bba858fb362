// The copy dialog (target company and copy method), the copy-completed notice
// and the about box.
#include <QLabel>
#include <QTest>

#include "platform/host/company.h"
#include "platform/host/server_catalogue.h"
#include "tests/ui/dialog_driving.h"
#include "tests/ui/worksheet_fixture.h"
#include "ui/copy_config_form_dlg.h"

namespace dpx::test {
namespace {

class CopyDialogs : public WorksheetFixture {
 protected:
  // The copy dialog on the context, `act` from its own event loop, then OK;
  // whether it was accepted, stayed open, and the status text.
  struct Outcome {
    bool accepted = false;
    bool stayed = false;
    bool targetChanged = false;
    std::string status;
  };
  Outcome copyDialog(std::function<void(DPX_CopyConfigFormDlg*)> act, std::vector<ModalDriver::Handler> then = {}) {
    Outcome out;
    frame()->setStatusText("", true, 0);
    DPX_CopyConfigFormDlg dialog(context(), frame());
    modals.script.push_back([&, act](QWidget*) {
      Later(&dialog, [&, act] {
        if (act) act(&dialog);
        ClickButton(&dialog, "1");
        out.status = frame()->messagePane()->text().toStdString();
        out.stayed = dialog.isVisible();
        if (out.stayed) dialog.reject();
      });
    });
    for (auto& h : then) modals.script.push_back(std::move(h));
    out.accepted = dialog.exec() == QDialog::Accepted;
    out.targetChanged = dialog.targetChanged();
    return out;
  }
};

TEST_F(CopyDialogs, OkChecksTheTargetAsATable) {
  host::ServerCatalogue catalogue(server.serverDir());
  for (const auto& [db, version] : {std::pair{"V999", 999}, {"V930150", 930150}}) {
    catalogue.createCompany({db, std::string("Version ") + db, version, "GB", 6});
    catalogue.addUser(db, "manager", "Manager", "manager", true);
  }
  context()->setCopyMethod(2);
  // A ticked category that cannot move between localizations makes them matter.
  for (const auto& node : worksheet()->getNodes()) {
    if (node.isLeaf() && !node.isLocalizationTransfer() && itemOf(node.getLeafId()) >= 0) {
      tick(node.getLeafId());
      break;
    }
  }
  ASSERT_FALSE(tree()->allSelectedHaveLocalizationTransfer());
  const std::string localizations =
      "Target and base localizations are different. To avoid corruption of the target database, certain categories "
      "cannot be copied between different localizations and will be disabled. Continue?";
  struct Case {
    const char* name;
    std::vector<ModalDriver::Handler> then;
    std::string shown;  // status text, or the last question
    bool accepted;
    std::string targetDb;  // the context's target afterwards
  };
  const Case cases[] = {
      {"", {}, "Select a target company", false, ""},
      {"Demo Base Ltd.", {ChooseCompany("DEMO_BASE")}, "Choose a target different from the source.", false, ""},
      {"Version V999", {ChooseCompany("V999")}, "Cannot copy when base version is higher than target version.", false,
       ""},
      {"Version V930150", {ChooseCompany("V930150"), ModalDriver::Click("7")}, localizations, false, ""},
      {"Version V930150", {ChooseCompany("V930150"), ModalDriver::Click("6")}, localizations, true, "V930150"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    context()->disconnectTargetCompany();
    context()->setTargetName("");
    const size_t seen = modals.seen.size();
    // The target is picked with "..." (the choice starts from the base's server).
    const Outcome out = copyDialog([&](auto* d) { if (!c.then.empty()) ClickButton(d, "1019"); }, c.then);
    EXPECT_EQ(out.accepted, c.accepted);
    const bool asked = modals.seen.size() > seen && modals.seen.back().objectName == "DPX_MessageBox";
    EXPECT_EQ(asked ? modals.seen.back().text : out.status, c.shown);
    const auto target = context()->getTargetCompany();
    EXPECT_EQ(target ? target->CompanyDB() : "", c.targetDb);
    if (c.accepted) {
      EXPECT_TRUE(out.targetChanged);
      EXPECT_EQ(context()->getTargetName(), "Version V930150");
    }
  }
}

TEST_F(CopyDialogs, AnUnchangedConnectedTargetIsKeptWithoutTheChooser) {
  const auto target = server.target();
  context()->setTargetCompany(target);
  context()->setCopyMethod(3);
  const size_t seen = modals.seen.size();
  const Outcome out = copyDialog([&](auto* d) {
    EXPECT_EQ(d->windowTitle(), "Copy Configuration to Target Company");
    EXPECT_EQ(Edit(d, "1053"), "Demo Target & Sons");
    EXPECT_EQ(d->template findChild<QLabel*>("1054")->text(), "Add new records without updating existing records");
    d->show();
    QTest::qWait(20);
    EXPECT_TRUE(d->grab().save(QString::fromStdString(screenshot("copy-configuration.png").string())));
    SetEdit(d, "1053", "DEMO TARGET & SONS");
  });
  EXPECT_TRUE(out.accepted);
  EXPECT_FALSE(out.targetChanged);
  EXPECT_EQ(modals.seen.size(), seen + 1) << "no chooser, no question";
  EXPECT_EQ(context()->getTargetCompany(), target);
  EXPECT_TRUE(target->Connected());
  EXPECT_EQ(context()->getTargetName(), "DEMO TARGET & SONS");
}

TEST_F(CopyDialogs, TheCompletedNoticeAndTheAboutBox) {
  modals.script.push_back([&](QWidget* w) {
    EXPECT_EQ(w->objectName(), "DPX_CopyCompletedFormDlg");
    EXPECT_EQ(w->windowTitle(), "Copy To Target Company");
    EXPECT_EQ(w->findChild<QLabel*>("1051")->text(), "The copy process is completed");
    EXPECT_EQ(w->findChild<QAbstractButton*>("1050")->text(), "Log File");
    EXPECT_TRUE(w->grab().save(QString::fromStdString(screenshot("copy-completed.png").string())));
    ClickButton(w, "1");
  });
  EXPECT_EQ(gui().showCopyCompletedForm(), S_OK);

  modals.script.push_back([&](QWidget* w) {
    EXPECT_EQ(w->objectName(), "DPX_AboutBox");
    EXPECT_EQ(w->windowTitle(), "Vorn Quillon Duplora");
    EXPECT_EQ(w->findChild<QLabel*>("1075")->text(), "Vorn Quillon Duplora 8.80.202");
    EXPECT_TRUE(w->grab().save(QString::fromStdString(screenshot("about.png").string())));
    ClickButton(w, "1");
  });
  frame()->command(524)->trigger();
  EXPECT_EQ(modals.names().back(), "DPX_AboutBox");
}

}  // namespace
}  // namespace dpx::test
