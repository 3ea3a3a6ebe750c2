#include "shell/TfrmOption.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>
#include <filesystem>

#include "platform/Automation.h"
#include "platform/Globals.h"
#include "platform/IniFile.h"
#include "platform/MediaPlayer.h"
#include "platform/MessageBox.h"
#include "platform/ScreenCursor.h"
#include "platform/Timer.h"

namespace pagora {

namespace {

int shown = 0;

// The client area as designed, in a classic dialog frame (3-pixel edges and
// a 19-pixel caption): the skinned form takes that size as its own.
constexpr int kClientWidth = 408;
constexpr int kClientHeight = 221;
constexpr int kDesignWidth = kClientWidth + 6;
constexpr int kDesignHeight = kClientHeight + 25;
constexpr int kFontPixels = 12;
constexpr int kSpinDigits = 5;
constexpr int kTurnMin = 500, kTurnMax = 10000;
constexpr int kPlayMin = 3000, kPlayMax = 10000;

const char* const kMusicFilter = "All music|*.mid;*.wav;*.mp3";
const char* const kPictureFilter =
    "All Pic|*.pcd;*.pic;*.cel;*.pbm;*.pgm;*.ppm;*.pdd;*.psd;*.bw;*.rgb;*.rgba;*.sgi;*.rla;*.rpf;"
    "*.scr;*.pcc;*.pcx;*.eps;*.fax;*.tif;*.tiff;*.icb;*.tga;*.vda;*.vst;*.win;*.dib;*.rle;*.jpeg;"
    "*.jpe;*.jpg;*.jfif;*.emf;*.wmf;*.ico;*.bmp;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf";

QString Text(const char* chinese, const char* english) {
    return QString::fromUtf8(LanguageFlag == 1 ? english : chinese);
}

QString MusicRestartMessage() {
    return Text("要想换回相册内置音乐，需重新打开相册方能生效！",
                "To Replace the old music, you need to restart the album.");
}
QString MusicMissingMessage() {
    return Text("所选择的背景音乐文件不存在！", "The background music file does not exist.");
}
QString PictureRestartMessage() {
    return Text("要想换回相册内置背景，需重新打开相册方能生效！",
                "To Replace the old background picture, you need to restart the album.");
}
QString PictureMissingMessage() {
    return Text("所选择的背景图片文件不存在！", "The background picture file does not exist.");
}

bool IsFile(const QString& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path.toStdString(), error);
}

template <typename Widget>
Widget* Place(Widget* widget, int x, int y, int width = -1, int height = -1) {
    if (width < 0) {
        widget->adjustSize();
        widget->move(x, y);
    } else {
        widget->setGeometry(x, y, width, height);
    }
    return widget;
}

QSpinBox* SpinEdit(QWidget* parent, int x, int y, int minimum, int maximum) {
    auto* spin = Place(new QSpinBox(parent), x, y, 56, 22);
    spin->setRange(minimum, maximum);
    if (auto* edit = spin->findChild<QLineEdit*>())
        edit->setMaxLength(kSpinDigits);
    return spin;
}

QRadioButton* Radio(QGroupBox* group, const char* caption, int x, int y) {
    // The size a radio button is given when it is dropped on a form.
    return Place(new QRadioButton(QString::fromUtf8(caption), group), x, y, 113, 17);
}

}  // namespace

int SpinEditValue(const QString& text, int minimum, int maximum) {
    bool number = false;
    const long long value = text.trimmed().toLongLong(&number);
    if (!number)
        return minimum;
    return static_cast<int>(std::clamp<long long>(value, minimum, maximum));
}

TfrmOption::TfrmOption(QWidget* owner, OptionTarget book, const std::string& registryPath)
    : TFormXp(owner, BorderStyle::Dialog),
      book_(std::move(book)),
      store_(book_.AlbumName, registryPath) {
    CreateComponents();
    FormCreate();
}

void TfrmOption::CreateComponents() {
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(kFontPixels);
    setFont(font);
    resize(kDesignWidth, kDesignHeight);
    setWindowTitle(QStringLiteral("系统配置"));

    Label3 = Place(new QLabel(QStringLiteral("相册翻页速度（毫秒）："), this), 11, 10);
    SEdtTurn = SpinEdit(this, 142, 6, kTurnMin, kTurnMax);
    Label4 = Place(new QLabel(QStringLiteral("每页停留时间（毫秒）："), this), 213, 12);
    SEdtPlay = SpinEdit(this, 343, 8, kPlayMin, kPlayMax);
    GroupBox1 = Place(new QGroupBox(QStringLiteral("背景音乐"), this), 11, 37, 187, 74);
    RBtnMusicNo = Radio(GroupBox1, "开", 19, 23);
    RBtnMusicOff = Radio(GroupBox1, "关", 20, 45);
    GroupBox2 = Place(new QGroupBox(QStringLiteral("动作音效"), this), 210, 38, 187, 74);
    RBtnRangOn = Radio(GroupBox2, "开", 21, 23);
    RBtnRangOff = Radio(GroupBox2, "关", 22, 44);
    Label1 = Place(new QLabel(QStringLiteral("背景音乐："), this), 12, 124);
    EdtMusic = Place(new QLineEdit(this), 88, 122, 249, 21);
    BtnRowseMusic = Place(new QPushButton(QStringLiteral("浏览(&M)"), this), 344, 122, 54, 20);
    Label2 = Place(new QLabel(QStringLiteral("背景图片："), this), 11, 153);
    EdtBackPic = Place(new QLineEdit(this), 88, 150, 249, 21);
    BtnRowsePic = Place(new QPushButton(QStringLiteral("浏览(&B)"), this), 344, 150, 54, 20);
    Bevel1 = Place(new QFrame(this), 9, 181, 391, 2);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    BtnOk = Place(new QPushButton(QStringLiteral("确定(&O)"), this), 271, 193, 64, 22);
    BtnCancel = Place(new QPushButton(QStringLiteral("取消(&C)"), this), 337, 193, 64, 22);

    MusicGroup = new QButtonGroup(GroupBox1);
    MusicGroup->addButton(RBtnMusicNo);
    MusicGroup->addButton(RBtnMusicOff);
    RangGroup = new QButtonGroup(GroupBox2);
    RangGroup->addButton(RBtnRangOn);
    RangGroup->addButton(RBtnRangOff);

    QWidget* const order[] = {BtnOk,         BtnCancel,  GroupBox1,   GroupBox2, EdtMusic,
                              BtnRowseMusic, EdtBackPic, BtnRowsePic, SEdtTurn,  SEdtPlay};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QPushButton* button : {BtnOk, BtnCancel, BtnRowseMusic, BtnRowsePic})
        button->setAutoDefault(true);
    DefaultButton = BtnOk;
    CancelButton = BtnCancel;

    const std::pair<QPushButton*, void (TfrmOption::*)()> handlers[] = {
        {BtnOk, &TfrmOption::BtnOkClick},
        {BtnCancel, &TfrmOption::BtnCancelClick},
        {BtnRowseMusic, &TfrmOption::BtnRowseMusicClick},
        {BtnRowsePic, &TfrmOption::BtnRowsePicClick}};
    for (const auto& [button, handler] : handlers)
        connect(button, &QPushButton::clicked, this,
                [this, handler = handler] { Guarded([&] { (this->*handler)(); }); });

    OpenDialogMusic.DialogKind = FileDialogRequest::Kind::Open;
    OpenDialogMusic.Filter = QString::fromUtf8(kMusicFilter);
    OpenPictureDialog.DialogKind = FileDialogRequest::Kind::OpenPicture;
    OpenPictureDialog.Filter = QString::fromUtf8(kPictureFilter);
}

void TfrmOption::ApplyEnglishCaptions() {
    setWindowTitle(QStringLiteral("System Option"));
    const std::pair<QLabel*, const char*> labels[] = {{Label3, "Turns page:( milliscond):"},
                                                      {Label4, "page stops:( milliscond)"},
                                                      {Label1, "BackMusic:"},
                                                      {Label2, "BackPicture:"}};
    for (const auto& [label, text] : labels) {
        label->setText(QString::fromUtf8(text));
        label->adjustSize();
    }
    GroupBox1->setTitle(QStringLiteral("BackMusic"));
    GroupBox2->setTitle(QStringLiteral("Sound effect"));
    const std::pair<QAbstractButton*, const char*> buttons[] = {
        {RBtnMusicNo, "On"},  {RBtnMusicOff, "off"},         {RBtnRangOn, "On"},
        {RBtnRangOff, "Off"}, {BtnRowseMusic, "Browse(&M)"}, {BtnRowsePic, "Browse(&B)"},
        {BtnOk, "Ok(&O)"},    {BtnCancel, "Cancel(&C)"}};
    for (const auto& [button, text] : buttons)
        button->setText(QString::fromUtf8(text));
}

void TfrmOption::FormCreate() {
    TFormXp::FormCreate();
    if (LanguageFlag == 1)
        ApplyEnglishCaptions();
    SEdtTurn->setValue(std::clamp(*book_.TurnTime, kTurnMin, kTurnMax));
    SEdtPlay->setValue(
        static_cast<int>(std::clamp<int64_t>(book_.BookTimer->Interval(), kPlayMin, kPlayMax)));

    const auto read = [this](const char* key, const char* absent) {
        return QString::fromStdString(store_.Read(key).value_or(absent));
    };
    openMusic_ = read("BackMusic", "");
    openBackPic_ = read("BackPic", "");
    openMusicOn_ = SwitchIsOn(read("BackMusicOn", "true").toStdString());
    openRangOn_ = SwitchIsOn(read("BackRangOn", "true").toStdString());
    EdtMusic->setText(openMusic_);
    EdtBackPic->setText(openBackPic_);
    (openMusicOn_ ? RBtnMusicNo : RBtnMusicOff)->setChecked(true);
    (openRangOn_ ? RBtnRangOn : RBtnRangOff)->setChecked(true);
}

int TfrmOption::ShowModal() {
    ++shown;
    automation::Record("dialog options");
    BtnOk->setFocus();
    return TFormXp::ShowModal();
}

int TfrmOption::ShownCount() {
    return shown;
}

void TfrmOption::BtnRowseMusicClick() {
    if (const auto chosen = RunFileDialog(OpenDialogMusic))
        EdtMusic->setText(*chosen);
}

void TfrmOption::BtnRowsePicClick() {
    if (const auto chosen = RunFileDialog(OpenPictureDialog))
        EdtBackPic->setText(*chosen);
}

void TfrmOption::BtnCancelClick() {
    CloseWith(mrCancel);
}

void TfrmOption::BtnOkClick() {
    WaitCursor busy;
    std::optional<EarlyEnd> early;
    std::exception_ptr failure;
    try {
        ApplyTimes();
        early = ApplyMusic();
        if (!early) {
            ApplySound();
            early = ApplyBackground();
        }
    } catch (...) {
        failure = std::current_exception();
    }
    // What was written before any end, early or failed, is kept.
    SaveSettings();
    if (failure)
        std::rethrow_exception(failure);
    if (early) {
        ShowMessage(early->Message);
        if (early->Close)
            CloseWith(mrCancel);
        return;
    }
    CloseWith(mrOk);
}

void TfrmOption::ApplyTimes() {
    const int turn = SpinEditValue(SEdtTurn->cleanText(), kTurnMin, kTurnMax);
    const int play = SpinEditValue(SEdtPlay->cleanText(), kPlayMin, kPlayMax);
    *book_.TurnTime = turn;
    book_.BookTimer->SetInterval(play);
    store_.Write("TurnTime", std::to_string(turn));
    store_.Write("PlayTime", std::to_string(play));
}

std::optional<TfrmOption::EarlyEnd> TfrmOption::ApplyMusic() {
    const bool on = RBtnMusicNo->isChecked();
    const QString text = EdtMusic->text();
    if (on == openMusicOn_ && text == openMusic_)
        return std::nullopt;
    const bool textChanged = text != openMusic_;
    MediaPlayer& player = *book_.Player;
    const auto takeText = [&]() -> std::optional<EarlyEnd> {
        if (text.isEmpty()) {
            store_.Write("BackMusic", "");
            return EarlyEnd{MusicRestartMessage(), true};
        }
        if (!IsFile(text))
            return EarlyEnd{MusicMissingMessage(), false};
        return std::nullopt;
    };
    if (on) {
        store_.Write("BackMusicOn", "true");
        if (textChanged) {
            if (auto early = takeText())
                return early;
            player.Close();
            player.FileName = text;
            store_.Write("BackMusic", text.toStdString());
        }
        // Without music of the album's or the user's there is nothing to open.
        const bool playable = player.FileName != book_.NoMusic;
        if (playable)
            player.Open();
        *book_.BackMusicOn = 1;
        if (playable)
            player.Play();
    } else {
        store_.Write("BackMusicOn", "false");
        *book_.BackMusicOn = 0;
        player.Close();
        if (textChanged) {
            if (auto early = takeText())
                return early;
            player.FileName = text;
            store_.Write("BackMusic", text.toStdString());
        }
    }
    return std::nullopt;
}

void TfrmOption::ApplySound() {
    const bool on = RBtnRangOn->isChecked();
    if (on == openRangOn_)
        return;
    *book_.BackRangOn = on ? 1 : 0;
    store_.Write("BackRangOn", on ? "true" : "false");
}

std::optional<TfrmOption::EarlyEnd> TfrmOption::ApplyBackground() {
    const QString text = EdtBackPic->text();
    if (text == openBackPic_)
        return std::nullopt;
    if (text.isEmpty()) {
        store_.Write("BackPic", "");
        return EarlyEnd{PictureRestartMessage(), true};
    }
    if (!IsFile(text))
        return EarlyEnd{PictureMissingMessage(), false};
    book_.LoadBackground(text.toStdString());
    store_.Write("BackPic", text.toStdString());
    book_.Repaint();
    return std::nullopt;
}

void TfrmOption::SaveSettings() {
    try {
        store_.Save();
    } catch (const RegistryError& error) {
        ShowMessage(QString::fromUtf8(error.what()));
    }
}

}  // namespace pagora
