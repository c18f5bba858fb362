#include "ui/log_additional_info_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/dialog_texts.h"
#include "ui/qt_text.h"

using dpx::ui::Q;
using dpx::ui::Text;

DPX_LogAdditionalInfoDlg::DPX_LogAdditionalInfoDlg(const DPX_LogHeader& header, QWidget* parent)
    : QDialog(parent), header_(header) {
  setObjectName("DPX_LogAdditionalInfoDlg");
  setModal(true);
  auto* layout = new QGridLayout(this);
  auto label = [&](const char* id, int row, int column) {
    layout->addWidget(DPX_NewControl<QLabel>(this, id), row, column);
  };
  auto edit = [&](const char* id, const QString& text, int row, int column) {
    auto* e = DPX_NewControl<QLineEdit>(this, id);
    e->setReadOnly(true);
    e->setText(text);
    e->setMinimumWidth(150);
    layout->addWidget(e, row, column);
  };
  label("1064", 0, 1);
  label("1063", 0, 2);
  label("1065", 1, 0);
  edit("1053", Q(header_.date), 1, 1);
  edit("1057", Q(header_.startTime), 1, 2);
  label("1066", 2, 0);
  edit("1059", Q(header_.endTime), 2, 2);
  label("1062", 3, 0);
  edit("1054", Q(header_.base), 3, 1);
  label("904", 4, 0);
  edit("906", Q(header_.target), 4, 1);
  auto* options = DPX_NewControl<QLabel>(this, "1036");
  QFont underlined = options->font();
  underlined.setUnderline(true);
  options->setFont(underlined);
  layout->addWidget(options, 5, 0);
  label("1061", 6, 0);
  edit("1056", Text(static_cast<uint32_t>(header_.copyMethod)), 6, 1);
  label("1060", 7, 0);
  edit("1058", Text(static_cast<uint32_t>(header_.response)), 7, 1);
  auto* ignore = DPX_NewControl<QCheckBox>(this, "1052");
  // The box offers to ignore missing fields: it is the opposite of failing them.
  ignore->setChecked(!header_.failRecordsForMissingFields);
  ignore->setEnabled(false);
  layout->addWidget(ignore, 8, 0);
  label("1067", 8, 1);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName("1");
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons, 9, 0, 1, 3);
  DPX_ApplyTexts(this, 150,
                 {{"1", 1}, {"1064", 301}, {"1063", 151}, {"1065", 152}, {"1066", 154}, {"1062", 2039}, {"904", 2040},
                  {"1036", 155}, {"1061", 156}, {"1060", 157}, {"1067", 158}});
}
