// The options dialog: it starts from the context and the stored settings, OK
// saves what changed into both, Cancel after a change asks, a refused save
// keeps it open, and the open worksheet takes the options after OK only.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include "engine/settings_manager.h"
#include "platform/host/company.h"
#include "tests/ui/dialog_driving.h"
#include "tests/ui/worksheet_fixture.h"
#include "ui/copy_options_form_dlg.h"

namespace dpx::test {
namespace {

constexpr const char* kMethodRadios[] = {"1037", "1038", "1039", "1182"};

class CopyOptions : public DesktopFixture {
 protected:
  void SetUp() override {
    DesktopFixture::SetUp();
    ASSERT_TRUE(start());
    gui().setFolderBrowser([this](QWidget*, const std::string& title, const std::string&, std::string& chosen) {
      browserTitle = title;
      chosen = (server.root() / "picked").string();
      return S_OK;
    });
  }
  DPX_GUIManager& gui() { return DPX_GUIManager::getInstance(); }
  DPX_ConnectionContext* context() { return gui().getContext(); }
  DPX_SettingsManager stored() {
    DPX_SettingsManager settings(context());
    EXPECT_EQ(settings.getSettingsFromDatabase(), S_OK);
    return settings;
  }
  void store(int method, int response, bool failRecords) {
    DPX_SettingsManager settings = stored();
    settings.setCopyMethod(method);
    settings.setResponseToCopyFailure(response);
    settings.setFailRecordsForMissingFields(failRecords);
    ASSERT_EQ(settings.saveSettingsToDatabase(), S_OK);
  }
  // The options dialog with `act` run on it from its own event loop; the
  // handlers of the boxes it opens follow in the script.
  HRESULT options(std::function<void(DPX_CopyOptionsFormDlg*)> act, std::vector<ModalDriver::Handler> then = {}) {
    modals.script.push_back([act](QWidget* w) {
      auto* d = qobject_cast<DPX_CopyOptionsFormDlg*>(w);
      ASSERT_NE(d, nullptr) << w->objectName().toStdString();
      Later(d, [d, act] { act(d); });
    });
    for (auto& h : then) modals.script.push_back(std::move(h));
    return gui().showOptionsForm();
  }
  static void method(DPX_CopyOptionsFormDlg* d, int m) { d->findChild<QRadioButton*>(kMethodRadios[m - 1])->setChecked(true); }

  std::string browserTitle;
};

TEST_F(CopyOptions, StartsFromTheSettingsAndSavesWhatChanged) {
  store(7, 2, false);
  const DPX_SettingsManager before = stored();
  EXPECT_EQ(options([&](DPX_CopyOptionsFormDlg* d) {
              EXPECT_EQ(d->windowTitle(), "Options");
              for (const char* id : kMethodRadios) EXPECT_FALSE(d->findChild<QRadioButton*>(id)->isChecked()) << id;
              EXPECT_EQ(d->findChild<QComboBox*>("1042")->currentText(), "Terminate copy process");
              EXPECT_EQ(d->findChild<QComboBox*>("1042")->itemText(0), "Continue copy process");
              EXPECT_TRUE(d->findChild<QCheckBox*>("1043")->isChecked()) << "checked when the flag is false";
              EXPECT_EQ(Edit(d, "1045").toStdString(), before.getConfigurationFolder());
              EXPECT_EQ(Edit(d, "1051").toStdString(), before.getLogFileFolder());
              EXPECT_EQ(d->GetChanges(), 1) << "nothing differs";
              d->show();
              QTest::qWait(20);
              EXPECT_TRUE(d->grab().save(QString::fromStdString(screenshot("options.png").string())));
              ClickButton(d, "1");
            }),
            S_OK);
  EXPECT_EQ(stored().getCopyMethod(), 7);

  // Method 2, no response, the missing-fields box cleared, a folder browsed.
  EXPECT_EQ(options([&](DPX_CopyOptionsFormDlg* d) {
              method(d, 2);
              d->findChild<QComboBox*>("1042")->setCurrentIndex(-1);
              d->findChild<QCheckBox*>("1043")->setChecked(false);
              ClickButton(d, "1046");
              ClickButton(d, "1");
            }),
            S_OK);
  EXPECT_EQ(browserTitle, "Browse for Folder");
  const DPX_SettingsManager after = stored();
  EXPECT_EQ(after.getCopyMethod(), 2);
  EXPECT_EQ(after.getResponseToCopyFailure(), -1);
  EXPECT_TRUE(after.getFailRecordsForMissingFields());
  EXPECT_EQ(after.getConfigurationFolder(), (server.root() / "picked").string() + "/");
  EXPECT_EQ(after.getWorksheetFolder(), before.getWorksheetFolder());
  EXPECT_EQ(context()->getCopyMethod(), 2);
  EXPECT_EQ(context()->getResponseToCopyFailure(), -1);
  EXPECT_EQ(frame()->messagePane()->text(), "Operation completed successfully");
}

TEST_F(CopyOptions, CancelAfterAChangeAsksWhetherToSave) {
  struct Case {
    const char* answer;  // to "Do you want to save the changes?"
    HRESULT result;
    int storedMethod;
  };
  for (const Case& c : {Case{"6", S_OK, 3}, Case{"7", S_FALSE, 1}, Case{"2", S_FALSE, 1}}) {
    SCOPED_TRACE(c.answer);
    store(1, 0, false);
    bool stayed = false;
    const size_t seen = modals.seen.size();
    // The box is answered from the script; Cancel leaves the dialog open, which is then left with No.
    EXPECT_EQ(options(
                  [&](DPX_CopyOptionsFormDlg* d) {
                    method(d, 3);
                    d->reject();
                    stayed = d->isVisible();
                    if (stayed) d->QDialog::reject();
                  },
                  {ModalDriver::Click(c.answer)}),
              c.result);
    ASSERT_GE(modals.seen.size(), seen + 2);
    EXPECT_EQ(modals.seen[seen + 1].text, "Do you want to save the changes?");
    EXPECT_EQ(stayed, std::string(c.answer) == "2");
    EXPECT_EQ(stored().getCopyMethod(), c.storedMethod);
    EXPECT_EQ(context()->getCopyMethod(), c.storedMethod);
  }
}

TEST_F(CopyOptions, ARefusedSaveShowsWhyAndTheDialogStays) {
  store(1, 0, false);
  bool stayed = false;
  std::string status;
  options([&](DPX_CopyOptionsFormDlg* d) {
    method(d, 4);
    context()->getCompany()->InjectSqlFault("INSERT INTO", 1);
    ClickButton(d, "1");
    stayed = d->isVisible();
    status = frame()->messagePane()->text().toStdString();
    d->QDialog::reject();
  });
  EXPECT_TRUE(stayed);
  EXPECT_EQ(status, "Failed to save settings for Duplora in database.");
  EXPECT_EQ(stored().getCopyMethod(), 1) << "the row is kept";
}

class OptionsWithAWorksheet : public WorksheetFixture {};

TEST_F(OptionsWithAWorksheet, TheWorksheetTakesTheOptionsOnOkOnly) {
  auto& gui = DPX_GUIManager::getInstance();
  worksheet()->setModified(false);
  modals.script.push_back([](QWidget* w) {
    Later(w, [w] {
      w->findChild<QRadioButton*>("1039")->setChecked(true);
      static_cast<QDialog*>(w)->reject();
    });
  });
  modals.script.push_back(ModalDriver::Click("7"));
  EXPECT_EQ(gui.showOptionsForm(), S_FALSE);
  EXPECT_FALSE(worksheet()->isModified());
  EXPECT_NE(worksheet()->getCopyMethod(), 3);

  modals.script.push_back([](QWidget* w) {
    Later(w, [w] {
      w->findChild<QRadioButton*>("1039")->setChecked(true);
      ClickButton(w, "1");
    });
  });
  EXPECT_EQ(gui.showOptionsForm(), S_OK);
  EXPECT_TRUE(worksheet()->isModified());
  EXPECT_EQ(worksheet()->getCopyMethod(), 3);
}

}  // namespace
}  // namespace dpx::test
