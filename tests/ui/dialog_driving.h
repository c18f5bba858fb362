// Helpers for driving the window's dialogs in tests: running a step from a
// dialog's own event loop, reading and filling edits, and answering the
// company choice.
#pragma once

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QTableView>
#include <QTimer>

#include "tests/ui/desktop_fixture.h"
#include "ui/choose_company_form_dlg.h"
#include "ui/company_list_model.h"

namespace dpx::test {

// Runs f from the dialog's own event loop, so that a modal window f opens is
// answered by the driver's script while f waits for it.
inline void Later(QWidget* w, std::function<void()> f) { QTimer::singleShot(0, w, std::move(f)); }

inline QString Edit(QWidget* w, const char* id) { return w->findChild<QLineEdit*>(id)->text(); }
inline void SetEdit(QWidget* w, const char* id, const QString& text) { w->findChild<QLineEdit*>(id)->setText(text); }
inline void ClickButton(QWidget* w, const char* id) { w->findChild<QAbstractButton*>(id)->click(); }

// A file dialog of the window answered with a path. The dialog fills its
// name edit only while the edit has no focus, and its folder model fills in
// the background and may still select a file, so the answer is given in one
// step that depends on neither: the name typed, no file selected in the list,
// the dialog closed with that name. (The dialog's own overwrite question is
// not the program's: it is not asked here.)
inline ModalDriver::Handler ChooseFile(const std::string& path) {
  return [path](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dialog, nullptr) << w->objectName().toStdString();
    const QString wanted = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    dialog->selectFile(wanted);
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr) << w->objectName().toStdString() << " has no name edit";
    name->setText(wanted);
    if (auto* list = dialog->findChild<QListView*>("listView")) list->selectionModel()->clear();
    const QStringList chosen = dialog->selectedFiles();
    ASSERT_FALSE(chosen.isEmpty()) << w->objectName().toStdString() << " took no file for " << path;
    // A save dialog adds its file type's extension to a name typed without one.
    const QString suffix = dialog->defaultSuffix();
    const bool bare = !suffix.isEmpty() && !QFileInfo(wanted).fileName().contains('.');
    ASSERT_EQ(chosen.first().toStdString(), (bare ? wanted + "." + suffix : wanted).toStdString())
        << w->objectName().toStdString();
    static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
  };
}

// A file the program wrote in UTF-16 LE, in UTF-8.
inline std::string ReadUtf16Text(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()), static_cast<qsizetype>(bytes.size() / 2))
      .toStdString();
}

// A backup finish time (UTC) some minutes ago, as the server records it.
inline std::string MinutesAgo(int minutes) {
  const std::time_t t = std::time(nullptr) - minutes * 60;
  std::tm utc{};
  gmtime_r(&t, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
  return text;
}

// The row of the company list that shows a database; -1 when none does.
inline int RowOf(DPX_ChooseCompanyFormDlg* d, const std::string& db) {
  const auto& rows = d->model()->companies();
  const auto at = std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return row[1] == db; });
  return at == rows.end() ? -1 : static_cast<int>(at - rows.begin());
}

// The company choice answered: the database's row, the user and password, OK.
inline ModalDriver::Handler ChooseCompany(const std::string& db, const std::string& user = "manager",
                                          const std::string& password = "manager") {
  return [=](QWidget* w) {
    auto* d = qobject_cast<DPX_ChooseCompanyFormDlg*>(w);
    ASSERT_NE(d, nullptr) << w->objectName().toStdString();
    ASSERT_GE(RowOf(d, db), 0) << db;
    d->findChild<QTableView*>("1032")->selectRow(RowOf(d, db));
    SetEdit(d, "1023", QString::fromStdString(user));
    SetEdit(d, "1025", QString::fromStdString(password));
    d->accept();
    if (d->isVisible()) d->reject();
  };
}

}  // namespace dpx::test
