// The company choice and the server login: the server's companies, the
// preselected row, sorting, the log-on with its superuser gate, and the
// server settings kept when a login fails or is cancelled.
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "engine/company_handle.h"
#include "engine/connection_context.h"
#include "platform/host/company.h"
#include "platform/host/server_catalogue.h"
#include "tests/ui/dialog_driving.h"
#include "ui/server_login_form_dlg.h"

namespace dpx::test {
namespace {

class CompanyChoice : public DesktopFixture {
 protected:
  void SetUp() override {
    DesktopFixture::SetUp();
    ASSERT_TRUE(start());
    host::ServerCatalogue catalogue(server.serverDir());
    catalogue.addUser("DEMO_TARGET", ChooseDefault(), "Trellis", ChooseDefault(), true);
  }
  static const char* ChooseDefault() { return DPX_ChooseCompanyFormDlg::kDefaultSuperUser; }
  DPX_GUIManager& gui() { return DPX_GUIManager::getInstance(); }

  // The company choice on a handle; `act` runs on the dialog.
  HRESULT choose(DPX_CompanyHandle& handle, const std::string& name, std::function<void(DPX_ChooseCompanyFormDlg*)> act) {
    modals.script.push_back([act](QWidget* w) {
      auto* dialog = qobject_cast<DPX_ChooseCompanyFormDlg*>(w);
      ASSERT_NE(dialog, nullptr) << w->objectName().toStdString();
      act(dialog);
    });
    return gui().showChooseCompanyForm(handle, name);
  }
  // A handle describing a company of the demo server, not connected.
  DPX_CompanyHandle described(const std::string& db, const std::string& user) {
    DPX_CompanyHandle handle(server.unconnected(db));
    handle.setUserName(user);
    return handle;
  }
  static std::vector<std::string> column(DPX_ChooseCompanyFormDlg* d, int c) {
    std::vector<std::string> out;
    for (const auto& row : d->model()->companies()) out.push_back(row[static_cast<size_t>(c)]);
    return out;
  }
  static int selectedRow(DPX_ChooseCompanyFormDlg* d) {
    const auto rows = d->findChild<QTableView*>("1032")->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
  }
};

TEST_F(CompanyChoice, ListsTheServersCompaniesAndPreselectsByDatabaseElseByName) {
  host::ServerCatalogue(server.serverDir()).createCompany({"alpha_db", "alpha Trading", 930150, "US", 6});
  DPX_CompanyHandle own(gui().getContext()->getCompany());
  EXPECT_EQ(choose(own, "Demo Target & Sons",
                   [&](DPX_ChooseCompanyFormDlg* d) {
                     EXPECT_EQ(d->windowTitle(), "Choose Company");
                     EXPECT_EQ(Edit(d, "1023"), "manager");
                     EXPECT_EQ(Edit(d, "1029").toStdString(), server.serverDir().string());
                     EXPECT_EQ(d->findChild<QComboBox*>("1028")->currentText(), "MSSQL2008");
                     auto* model = d->model();
                     EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Company Name");
                     EXPECT_EQ(model->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Version");
                     ASSERT_EQ(model->rowCount(), 3);
                     // The database of the handle wins over the name handed in.
                     ASSERT_GE(selectedRow(d), 0);
                     EXPECT_EQ(column(d, 1)[static_cast<size_t>(selectedRow(d))], "DEMO_BASE");

                     // Header clicks: ascending ignoring case, then reversed; the selection follows its row.
                     auto* header = d->findChild<QTableView*>("1032")->horizontalHeader();
                     const QPoint first(header->sectionViewportPosition(0) + 5, header->height() / 2);
                     QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, first);
                     EXPECT_EQ(column(d, 0), (std::vector<std::string>{"alpha Trading", "Demo Base Ltd.",
                                                                       "Demo Target & Sons"}));
                     QTest::mouseClick(header->viewport(), Qt::RightButton, {}, first);
                     EXPECT_EQ(column(d, 0)[0], "alpha Trading") << "a right click does not sort";
                     QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, first);
                     EXPECT_EQ(column(d, 0), (std::vector<std::string>{"Demo Target & Sons", "Demo Base Ltd.",
                                                                       "alpha Trading"}));
                     EXPECT_EQ(column(d, 1)[static_cast<size_t>(selectedRow(d))], "DEMO_BASE");
                     d->show();
                     QTest::qWait(20);
                     EXPECT_TRUE(d->grab().save(QString::fromStdString(screenshot("choose-company.png").string())));
                     d->reject();
                   }),
            S_FALSE);

  // Without a database the name handed in chooses the row, ignoring case.
  DPX_CompanyHandle noDatabase = described("", "manager");
  choose(noDatabase, "DEMO TARGET & SONS", [&](DPX_ChooseCompanyFormDlg* d) {
    ASSERT_GE(selectedRow(d), 0);
    EXPECT_EQ(column(d, 1)[static_cast<size_t>(selectedRow(d))], "DEMO_TARGET");
    d->reject();
  });
}

TEST_F(CompanyChoice, TheDefaultSuperUserLogsOnWhenCodeAndPasswordAreEmpty) {
  // The kept password, or for the default code the code itself, prefills the password.
  struct Case {
    std::string user, keptPassword, shown;
  };
  for (const Case& c : {Case{"trellis", "", "trellis"}, Case{"manager", "", ""}, Case{"manager", "kept", "kept"}}) {
    DPX_CompanyHandle handle = described("DEMO_TARGET", c.user);
    if (!c.keptPassword.empty()) handle.setPassword(c.keptPassword);
    choose(handle, "", [&](DPX_ChooseCompanyFormDlg* d) {
      EXPECT_EQ(Edit(d, "1025").toStdString(), c.shown) << c.user << "/" << c.keptPassword;
      d->reject();
    });
  }

  DPX_CompanyHandle handle = described("DEMO_TARGET", "manager");
  ASSERT_EQ(choose(handle, "",
                   [&](DPX_ChooseCompanyFormDlg* d) {
                     SetEdit(d, "1023", "");
                     SetEdit(d, "1025", "");
                     d->findChild<QAbstractButton*>("1")->click();
                   }),
            S_OK);
  ASSERT_NE(handle.getCompany(), nullptr);
  EXPECT_TRUE(handle.getCompany()->Connected());
  EXPECT_EQ(handle.getUserName(), "trellis");
  EXPECT_EQ(handle.getPassword(), "trellis");
  EXPECT_EQ(handle.getCompanyName(), "Demo Target & Sons");
}

TEST_F(CompanyChoice, AnOrdinaryUserIsRefusedAndTheDialogStays) {
  DPX_CompanyHandle handle = described("DEMO_TARGET", "clerk");
  const auto before = handle.getCompany();
  EXPECT_EQ(choose(handle, "",
                   [&](DPX_ChooseCompanyFormDlg* d) {
                     SetEdit(d, "1025", "clerk");
                     d->accept();
                     EXPECT_TRUE(d->isVisible()) << "the dialog stays";
                     EXPECT_EQ(frame()->messagePane()->text(), "User 'clerk' is not a superuser. Access is denied.");
                     ASSERT_NE(handle.getCompany(), before) << "the handle holds the dialog's company";
                     EXPECT_FALSE(handle.getCompany()->Connected());
                     // No row chosen: 10028.
                     d->findChild<QTableView*>("1032")->clearSelection();
                     SetEdit(d, "1023", "manager");
                     SetEdit(d, "1025", "manager");
                     d->accept();
                     EXPECT_EQ(frame()->messagePane()->text(), "No valid company selected.");
                     d->reject();
                   }),
            S_FALSE);
}

TEST_F(CompanyChoice, ACancelledLoginAfterAServerTypeChangeRestoresTheType) {
  DPX_CompanyHandle handle = described("DEMO_TARGET", "manager");
  choose(handle, "", [&](DPX_ChooseCompanyFormDlg* d) {
    auto* types = d->findChild<QComboBox*>("1028");
    EXPECT_EQ(types->count(), 2);
    EXPECT_EQ(types->itemText(0), "MSSQL2005");
    Later(d, [&, d, types] {
      types->setCurrentIndex(types->findText("MSSQL2005"));  // the login is cancelled by the driver
      EXPECT_EQ(types->currentText(), "MSSQL2008");
      // The type was put back: the log-on to the type-6 company still works.
      SetEdit(d, "1025", "manager");
      d->accept();
      if (d->isVisible()) d->reject();
    });
  });
  const auto names = modals.names();
  EXPECT_EQ(std::count(names.begin(), names.end(), "DPX_ServerLoginFormDlg"), 1) << "one login, no second notification";
  ASSERT_NE(handle.getCompany(), nullptr);
  EXPECT_TRUE(handle.getCompany()->Connected());
}

TEST_F(CompanyChoice, TheServerLoginReadsTheListOrPutsTheOldSettingsBack) {
  host::ServerCatalogue(server.serverDir()).addLogin("sa", "secret");
  DPX_CompanyHandle handle = described("DEMO_BASE", "manager");
  handle.setUseTrusted(false);
  handle.setDbUserName("sa");
  handle.setDbPassword("secret");
  const std::string folder = server.serverDir().string();
  struct Case {
    std::string server, login, password;
    bool trusted, accepted;
  };
  for (const Case& c : {Case{(server.root() / "nowhere").string(), "sa", "secret", false, false},
                        Case{folder, "sa", "wrong", false, false}, Case{folder, "", "", true, true},
                        Case{folder, "sa", "secret", false, true}}) {
    DPX_Util::CompanyList list;
    DPX_ServerLoginFormDlg login(gui().getContext(), &handle, &list, nullptr);
    if (c.accepted && !c.trusted) {
      login.show();
      QTest::qWait(20);
      EXPECT_TRUE(login.grab().save(QString::fromStdString(screenshot("server-login.png").string())));
    }
    SetEdit(&login, "1029", QString::fromStdString(c.server));
    login.findChild<QAbstractButton*>("1034")->setChecked(c.trusted);
    EXPECT_EQ(login.findChild<QLineEdit*>("1030")->isEnabled(), !c.trusted);
    SetEdit(&login, "1030", QString::fromStdString(c.login));
    SetEdit(&login, "1025", QString::fromStdString(c.password));
    const size_t boxes = modals.seen.size();
    login.accept();
    EXPECT_EQ(login.result() == QDialog::Accepted, c.accepted) << c.server << " " << c.password;
    if (!c.accepted) {
      EXPECT_EQ(modals.seen.size(), boxes + 1) << "the refusal is shown";
      EXPECT_EQ(handle.getServer(), folder);
      EXPECT_EQ(handle.getDbUserName(), "sa");
      EXPECT_EQ(handle.getDbPassword(), "secret");
      EXPECT_FALSE(handle.usesTrustedConnection());
    } else {
      EXPECT_EQ(list.size(), 2u);
      EXPECT_EQ(handle.usesTrustedConnection(), c.trusted);
    }
  }
}

}  // namespace
}  // namespace dpx::test
