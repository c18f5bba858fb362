// One QApplication for every desktop test (offscreen).
#include <gtest/gtest.h>

#include <QApplication>

namespace {

class QtApplication : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    app_ = new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
  }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
  }

 private:
  QApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kQt = ::testing::AddGlobalTestEnvironment(new QtApplication);

}  // namespace
