#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>

namespace pagora {

// The album password prompt: modal, asked once with the expected password.
class TfrmPassword : public QDialog {
  public:
    explicit TfrmPassword(QWidget* owner = nullptr);

    // The expected password is GBK bytes, as the album stores it. True when the
    // same bytes were typed; false on Cancel or when the window is closed.
    bool Ask(const std::string& password);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* EdtPassword = nullptr;
    QPushButton* BtnOk = nullptr;
    QPushButton* BtnCancel = nullptr;

  private:
    void BtnOkClick();
    void FeedAutomation();

    std::string password_;
    bool result_ = false;
};

}  // namespace pagora
