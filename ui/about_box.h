// "About Duplora": the product's name and version.
#pragma once

#include <QDialog>

class DPX_AboutBox : public QDialog {
  Q_OBJECT

 public:
  // The version is a constant of the program.
  static constexpr const char* kVersion = "8.80.202";

  explicit DPX_AboutBox(QWidget* parent);
};
