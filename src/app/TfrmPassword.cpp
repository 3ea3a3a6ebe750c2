#include "app/TfrmPassword.h"

#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QTimer>

#include "platform/Automation.h"
#include "platform/GbkText.h"
#include "platform/Globals.h"
#include "platform/MessageBox.h"
#include "platform/ScreenScale.h"

namespace pagora {

namespace {

// Typed characters show as "*".
class StarStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// A padlock on a transparent ground, the prompt's picture, drawn at the
// screen's scale so that Qt need not enlarge it.
QPixmap PadlockPicture() {
    QPixmap picture = LogicalPixmap(QSize(59, 53), ProgramScale());
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(120, 120, 128), 5));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(17, 4, 25, 30), 0, 180 * 16);
    painter.drawLine(QPointF(17, 19), QPointF(17, 24));
    painter.drawLine(QPointF(42, 19), QPointF(42, 24));
    QLinearGradient body(0, 22, 0, 52);
    body.setColorAt(0, QColor(236, 190, 72));
    body.setColorAt(1, QColor(176, 122, 30));
    painter.setPen(QPen(QColor(120, 80, 20), 1));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(9.5, 23.5, 40, 28), 4, 4);
    painter.setBrush(QColor(70, 45, 10));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(29.5, 33.5), 4, 4);
    painter.drawRect(QRectF(28, 35, 3, 9));
    return picture;
}

bool SameBytes(const QString& typed, const std::string& expected) {
    try {
        return ToGbk(typed) == expected;
    } catch (const std::exception&) {
        return false;  // text GBK cannot hold is no album's password
    }
}

}  // namespace

TfrmPassword::TfrmPassword(QWidget* owner) : QDialog(owner) {
    const bool english = LanguageFlag == 1;
    setWindowTitle(english ? QStringLiteral("Input Password") : QStringLiteral("相册登陆"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(313, 95);

    Image1 = new QLabel(this);
    Image1->setGeometry(9, 21, 59, 53);
    Image1->setPixmap(PadlockPicture());
    Label1 = new QLabel(english ? QStringLiteral("Password:") : QStringLiteral("密码："), this);
    Label1->move(70, 37);
    Label1->adjustSize();
    EdtPassword = new QLineEdit(this);
    EdtPassword->setGeometry(122, 34, 166, 21);
    EdtPassword->setEchoMode(QLineEdit::Password);
    auto* style = new StarStyle;
    style->setParent(EdtPassword);
    EdtPassword->setStyle(style);
    BtnOk = new QPushButton(english ? QStringLiteral("Ok(&O)") : QStringLiteral("确定(&O)"), this);
    BtnOk->setGeometry(155, 66, 62, 21);
    BtnOk->setDefault(true);
    BtnCancel =
        new QPushButton(english ? QStringLiteral("Cancel(&C)") : QStringLiteral("取消(&C)"), this);
    BtnCancel->setGeometry(227, 66, 62, 21);
    setTabOrder(EdtPassword, BtnOk);
    setTabOrder(BtnOk, BtnCancel);

    connect(BtnOk, &QPushButton::clicked, this, [this] { Guarded([this] { BtnOkClick(); }); });
    connect(EdtPassword, &QLineEdit::returnPressed, this,
            [this] { Guarded([this] { BtnOkClick(); }); });
    connect(BtnCancel, &QPushButton::clicked, this, [this] {
        result_ = false;
        reject();
    });
}

bool TfrmPassword::Ask(const std::string& password) {
    password_ = password;
    result_ = false;
    EdtPassword->setFocus();
    // Centred on the desktop: the owner is never shown, so Qt cannot centre on it.
    move(DesktopLogicalRect().center() - QPoint(width() / 2, height() / 2));
    if (automation::Active()) {
        automation::Record(("password-prompt " + windowTitle() + "|" + Label1->text() + "|" +
                            BtnOk->text() + "|" + BtnCancel->text())
                               .toStdString());
        QTimer::singleShot(0, this, [this] { FeedAutomation(); });
    }
    exec();
    return result_;
}

void TfrmPassword::BtnOkClick() {
    if (SameBytes(EdtPassword->text(), password_)) {
        result_ = true;
        accept();
        return;
    }
    ShowMessage(
        LanguageFlag == 1
            ? QStringLiteral("The password you typed is incorrect.Please retype your password.")
            : QStringLiteral("密码输入有误，请重新输入！"));
    EdtPassword->setFocus();
}

void TfrmPassword::FeedAutomation() {
    if (!isVisible())
        return;
    const auto answer = automation::NextAnswer("password");
    if (!answer || *answer == "<close>") {
        close();
        return;
    }
    if (*answer == "<cancel>") {
        BtnCancel->click();
        return;
    }
    EdtPassword->setText(QString::fromStdString(*answer));
    BtnOk->click();
    if (isVisible()) {
        automation::Record("password-kept " + EdtPassword->text().toStdString() +
                           (focusWidget() == EdtPassword ? " focused" : ""));
        QTimer::singleShot(0, this, [this] { FeedAutomation(); });
    }
}

}  // namespace pagora
