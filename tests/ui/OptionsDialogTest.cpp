// The options dialog over the real book: opened from Ctrl+O, driven from
// inside its modal loop, its messages and file dialogs recorded; what it
// applies to the book and what it keeps in registry.ini.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <map>

#include "BookWindow.h"
#include "archive/HotSpotRecord.h"
#include "archive/WaveFile.h"
#include "platform/FileDialog.h"
#include "platform/Globals.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/Messages.h"
#include "shell/TButtonXp.h"
#include "shell/TPaintBoxXp.h"
#include "shell/TfrmOption.h"

namespace pagora {
namespace {

using namespace test;
using Keys = std::map<std::string, std::string>;

constexpr const char* kSection = "Test album";
const QRgb kNewGround = qRgb(30, 160, 90);

// Handles messages until the condition holds or a second has passed (a key
// clicks its button a moment later, as a pressed button shows).
bool Within(const std::function<bool()>& condition) {
    QElapsedTimer clock;
    clock.start();
    WaitUntil([&] { return condition() || clock.elapsed() > 1000; });
    return condition();
}

Bytes NoSpots(int) {
    return WriteHotSpots({});
}

class OptionsDialogTest : public BookWindowTest {
  protected:
    static void SetUpTestSuite() {
        SetUpBook(4, NoSpots);
        const std::vector<int16_t> silence(800, 0);
        WriteFile(Path("music.wav"), WaveFileBytes(silence, 8000));
        WriteFile(Path("other.wav"), WaveFileBytes(silence, 8000));
        Plain(40, 30, kNewGround).save(QString::fromStdString(Path("ground.png")));
        WriteFile(Path("broken.png"), TextBytes("not a picture at all"));
    }
    static void TearDownTestSuite() { TearDownBook(); }

    void SetUp() override {
        std::filesystem::remove_all(config_->Path() + "/Bindwell");
        WriteFile(LeafhallPath(), TextBytes(kLeafhall));
        SetMessageSink([this](const QString& text) { messages.push_back(text.toStdString()); });
        ClearEndedLoops();
        Open(4, 3);
    }
    void TearDown() override {
        EXPECT_EQ(ReadFile(LeafhallPath()), TextBytes(kLeafhall)) << "Leafhall.ini was written";
        SetMessageSink({});
        SetFileDialogSeam({});
        LanguageFlag = 0;
        BookWindowTest::TearDown();
    }

    static std::string LeafhallPath() { return config_->Path() + "/Leafhall.ini"; }
    static std::string RegistryPath() { return config_->Path() + "/Bindwell/registry.ini"; }
    // The album's keys in registry.ini, as they are stored.
    static Keys Registry() {
        Keys keys;
        const IniFile file(RegistryPath());
        for (const IniFile::Section& section : file.Sections())
            if (section.Name == kSection)
                for (const IniFile::Entry& entry : section.Entries)
                    keys[entry.Key] = entry.Value;
        return keys;
    }
    static void SetRegistry(const std::string& lines) {
        std::filesystem::create_directories(config_->Path() + "/Bindwell");
        WriteFile(RegistryPath(), TextBytes(std::string("[") + kSection + "]\n" + lines));
    }

    // Opens the dialog with Ctrl+O on the book and runs the actions inside
    // its modal loop; true when it was still open after them (it is closed).
    bool Dialog(const std::function<void(TfrmOption&)>& actions) {
        bool open = false, ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = dynamic_cast<TfrmOption*>(QApplication::activeModalWidget());
            ran = dialog != nullptr;
            if (!dialog)
                return;
            // Keys reach it once it is the active window.
            EXPECT_TRUE(Within([&] { return QApplication::activeWindow() == dialog; }));
            actions(*dialog);
            open = dialog->isVisible();
            if (open)
                dialog->CloseWith(TFormXp::mrCancel);
        });
        Key(Qt::Key_O, Qt::ControlModifier);
        EXPECT_TRUE(ran) << "no options dialog came up";
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        return open;
    }
    bool Ok(const std::function<void(TfrmOption&)>& changes) {
        return Dialog([&](TfrmOption& dialog) {
            changes(dialog);
            dialog.BtnOk->click();
        });
    }
    QRgb Ground() const { return book->Background.pixel(5, 5); }

    static inline const std::string kLeafhall = "[Test album]\nTurnTime=0\nBackRangOn=true\n";
    std::vector<std::string> messages;
};

TEST_F(OptionsDialogTest, OpensWithTheBooksTimesAndTheStoredSettings) {
    SetRegistry("BackMusic=" + Path("music.wav") + "\nBackPic=" + Path("ground.png") +
                "\nBackMusicOn=TRUE\nBackRangOn=yes\nTurnTime=900\n");
    book->BookTimer.SetInterval(20000);
    Dialog([&](TfrmOption& dialog) {
        // The page-turn time of 3 and the interval are held to the spin ranges.
        EXPECT_EQ(dialog.SEdtTurn->value(), 500);
        EXPECT_EQ(dialog.SEdtPlay->value(), 10000);
        EXPECT_EQ(dialog.EdtMusic->text().toStdString(), Path("music.wav"));
        EXPECT_EQ(dialog.EdtBackPic->text().toStdString(), Path("ground.png"));
        EXPECT_TRUE(dialog.RBtnMusicNo->isChecked());
        EXPECT_TRUE(dialog.RBtnRangOff->isChecked());
        EXPECT_EQ(dialog.windowTitle(), "系统配置");
        EXPECT_EQ(dialog.DesignBorderStyle(), TFormXp::BorderStyle::Dialog);
    });
    EXPECT_EQ(book->TurnTime, 3);
}

TEST_F(OptionsDialogTest, OkWithoutChangesWritesOnlyTheTimes) {
    SetRegistry("BackMusicOn=false\n");
    const QRgb ground = Ground();
    EXPECT_FALSE(Ok([](TfrmOption&) {}));
    EXPECT_EQ(Registry(), (Keys{{"BackMusicOn", "false"},
                                {"TurnTime", "500"},
                                {"PlayTime", std::to_string(book->BookTimer.Interval())}}));
    EXPECT_EQ(book->TurnTime, 500);
    EXPECT_GE(book->BookTimer.Interval(), 3000);
    EXPECT_EQ(Ground(), ground);
    EXPECT_TRUE(messages.empty());
}

TEST_F(OptionsDialogTest, TimesAreReadFromTheSpinTexts) {
    EXPECT_EQ(SpinEditValue("700", 500, 10000), 700);
    EXPECT_EQ(SpinEditValue(" 3 ", 500, 10000), 500);
    EXPECT_EQ(SpinEditValue("99999", 3000, 10000), 10000);
    EXPECT_EQ(SpinEditValue("", 3000, 10000), 3000);
    EXPECT_EQ(SpinEditValue("12ab", 3000, 10000), 3000);
    EXPECT_FALSE(Ok([](TfrmOption& dialog) {
        dialog.SEdtTurn->setValue(1200);
        dialog.SEdtPlay->setValue(4500);
    }));
    EXPECT_EQ(book->TurnTime, 1200);
    EXPECT_EQ(book->BookTimer.Interval(), 4500);
    EXPECT_EQ(Registry(), (Keys{{"TurnTime", "1200"}, {"PlayTime", "4500"}}));
}

TEST_F(OptionsDialogTest, MusicOffAndOnAgainWritesNoMusic) {
    EXPECT_FALSE(Ok([](TfrmOption& dialog) {
        dialog.RBtnMusicOff->setChecked(true);
        dialog.RBtnMusicNo->setChecked(true);
    }));
    EXPECT_EQ(Registry().count("BackMusicOn"), 0u);
    EXPECT_EQ(Registry().count("BackMusic"), 0u);
}

// One row per way through the music step, from a registry holding
// music.wav, music on.
struct MusicCase {
    const char* Name;
    bool On;
    const char* Text;  // a file of the suite's folder, "" or "missing"
    Keys Written;      // besides the times; "@" stands for the suite's folder
    const char* Message;
    bool StaysOpen;
    const char* PlayerFile;  // as it is after; "" for unchanged
    int MusicOn;             // the book's switch after
};

class MusicBranches : public OptionsDialogTest, public testing::WithParamInterface<MusicCase> {};

TEST_P(MusicBranches, WriteApplyAndEndAsTheyShould) {
    const MusicCase& c = GetParam();
    SetRegistry("BackMusic=" + Path("music.wav") + "\n");
    book->BackMusicOn = 1;
    book->Player->FileName = QString::fromStdString(Path("music.wav"));
    const auto expand = [&](std::string text) {
        if (const size_t at = text.find('@'); at != std::string::npos)
            text.replace(at, 1, Path(""));
        return text;
    };
    const bool open = Ok([&](TfrmOption& dialog) {
        (c.On ? dialog.RBtnMusicNo : dialog.RBtnMusicOff)->setChecked(true);
        dialog.EdtMusic->setText(QString::fromStdString(std::string(c.Text) == "missing"
                                                            ? Path("missing.wav")
                                                        : *c.Text ? Path(c.Text)
                                                                  : std::string()));
    });
    Keys expected{{"BackMusic", Path("music.wav")},
                  {"TurnTime", "500"},
                  {"PlayTime", std::to_string(book->BookTimer.Interval())}};
    for (const auto& [key, value] : c.Written)
        expected[key] = expand(value);
    EXPECT_EQ(Registry(), expected);
    EXPECT_EQ(messages,
              *c.Message ? std::vector<std::string>{c.Message} : std::vector<std::string>{});
    EXPECT_EQ(open, c.StaysOpen);
    EXPECT_EQ(book->Player->FileName.toStdString(),
              Path(*c.PlayerFile ? c.PlayerFile : "music.wav"));
    EXPECT_EQ(book->BackMusicOn, c.MusicOn);
    // Only a newly chosen track with music on is opened and played, on SDL's dummy output.
    const bool plays = c.MusicOn == 1 && *c.PlayerFile;
    EXPECT_EQ(book->Player->IsOpen(), plays);
    if (plays)
        EXPECT_FALSE(book->Player->Ended());
}

const char kMusicRestart[] = "要想换回相册内置音乐，需重新打开相册方能生效！";
const char kMusicMissing[] = "所选择的背景音乐文件不存在！";

INSTANTIATE_TEST_SUITE_P(
    OptionsDialog, MusicBranches,
    testing::Values(
        MusicCase{"OnUnchanged", true, "music.wav", {}, "", false, "", 1},
        MusicCase{"OnNewFile",
                  true,
                  "other.wav",
                  {{"BackMusicOn", "true"}, {"BackMusic", "@other.wav"}},
                  "",
                  false,
                  "other.wav",
                  1},
        MusicCase{"OnEmptied",
                  true,
                  "",
                  {{"BackMusicOn", "true"}, {"BackMusic", ""}},
                  kMusicRestart,
                  false,
                  "",
                  1},
        MusicCase{
            "OnMissing", true, "missing", {{"BackMusicOn", "true"}}, kMusicMissing, true, "", 1},
        MusicCase{"Off", false, "music.wav", {{"BackMusicOn", "false"}}, "", false, "", 0},
        MusicCase{"OffNewFile",
                  false,
                  "other.wav",
                  {{"BackMusicOn", "false"}, {"BackMusic", "@other.wav"}},
                  "",
                  false,
                  "other.wav",
                  0},
        MusicCase{"OffEmptied",
                  false,
                  "",
                  {{"BackMusicOn", "false"}, {"BackMusic", ""}},
                  kMusicRestart,
                  false,
                  "",
                  0},
        MusicCase{"OffMissing",
                  false,
                  "missing",
                  {{"BackMusicOn", "false"}},
                  kMusicMissing,
                  true,
                  "",
                  0}),
    [](const testing::TestParamInfo<MusicCase>& info) { return std::string(info.param.Name); });

TEST_F(OptionsDialogTest, MusicOnWithoutAnyMusicOnlySetsTheSwitch) {
    SetRegistry("BackMusicOn=false\n");
    book->BackMusicOn = 0;
    book->Player->FileName = "NoMusicKKKK";
    EXPECT_FALSE(Ok([](TfrmOption& dialog) { dialog.RBtnMusicNo->setChecked(true); }));
    EXPECT_EQ(book->BackMusicOn, 1);
    EXPECT_EQ(book->Player->FileName, "NoMusicKKKK");
    EXPECT_EQ(Registry()["BackMusicOn"], "true");
    EXPECT_TRUE(messages.empty());
}

TEST_F(OptionsDialogTest, TheTurnSoundSwitchIsWrittenOnlyWhenChanged) {
    book->BackRangOn = 1;
    EXPECT_FALSE(Ok([](TfrmOption& dialog) { dialog.RBtnRangOff->setChecked(true); }));
    EXPECT_EQ(book->BackRangOn, 0);
    EXPECT_EQ(Registry()["BackRangOn"], "false");
    EXPECT_FALSE(Ok([](TfrmOption& dialog) { dialog.RBtnRangOn->setChecked(true); }));
    EXPECT_EQ(book->BackRangOn, 1);
    EXPECT_EQ(Registry()["BackRangOn"], "true");
}

TEST_F(OptionsDialogTest, BackgroundPicturesAreLoadedOrRefused) {
    const QRgb album = Ground();
    // A file that is no picture: the decoder's message, nothing written, the
    // background as it was, the dialog open.
    EXPECT_TRUE(Ok([&](TfrmOption& dialog) {
        dialog.EdtBackPic->setText(QString::fromStdString(Path("broken.png")));
    }));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(Path("broken.png")), std::string::npos) << messages[0];
    EXPECT_EQ(Registry().count("BackPic"), 0u);
    EXPECT_EQ(Ground(), album);
    messages.clear();

    EXPECT_TRUE(Ok([&](TfrmOption& dialog) {
        dialog.EdtBackPic->setText(QString::fromStdString(Path("missing.png")));
    }));
    EXPECT_EQ(messages, std::vector<std::string>{"所选择的背景图片文件不存在！"});
    EXPECT_EQ(Registry().count("BackPic"), 0u);
    messages.clear();

    EXPECT_FALSE(Ok([&](TfrmOption& dialog) {
        dialog.EdtBackPic->setText(QString::fromStdString(Path("ground.png")));
    }));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Registry()["BackPic"], Path("ground.png"));
    EXPECT_EQ(Ground(), kNewGround);
    EXPECT_EQ(book->GetCanvas().Image().pixel(2, 2), kNewGround) << "the book was not repainted";

    // Emptied: written, the message, closed; the running book keeps it.
    EXPECT_FALSE(Ok([](TfrmOption& dialog) { dialog.EdtBackPic->clear(); }));
    EXPECT_EQ(messages, std::vector<std::string>{"要想换回相册内置背景，需重新打开相册方能生效！"});
    EXPECT_EQ(Registry()["BackPic"], "");
    EXPECT_EQ(Ground(), kNewGround);
}

TEST_F(OptionsDialogTest, EmptyingBothTextsShowsOnlyTheMusicMessage) {
    SetRegistry("BackMusic=" + Path("music.wav") + "\nBackPic=" + Path("ground.png") + "\n");
    EXPECT_FALSE(Ok([](TfrmOption& dialog) {
        dialog.EdtMusic->clear();
        dialog.EdtBackPic->clear();
        dialog.RBtnRangOff->setChecked(true);
    }));
    EXPECT_EQ(messages, std::vector<std::string>{kMusicRestart});
    EXPECT_EQ(Registry()["BackMusic"], "");
    EXPECT_EQ(Registry()["BackPic"], Path("ground.png"));
    EXPECT_EQ(Registry().count("BackRangOn"), 0u);
}

TEST_F(OptionsDialogTest, CancelAndEscWriteNothingAndTheProgramRunsOn) {
    Form mainForm;
    mainForm.show();
    MainForm = &mainForm;
    const auto cancels = std::vector<std::function<void(TfrmOption&)>>{
        [](TfrmOption& dialog) { dialog.BtnCancel->click(); },
        [](TfrmOption& dialog) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&dialog, &escape);
        },
        [](TfrmOption& dialog) { dialog.CloseButton()->OnClick(); },
    };
    for (const auto& cancel : cancels) {
        EXPECT_FALSE(Dialog([&](TfrmOption& dialog) {
            dialog.SEdtTurn->setValue(2000);
            dialog.RBtnMusicOff->setChecked(true);
            cancel(dialog);
        }));
        EXPECT_FALSE(std::filesystem::exists(RegistryPath()));
        EXPECT_EQ(book->TurnTime, 3);
        EXPECT_TRUE(mainForm.isVisible()) << "the program was ended";
        EXPECT_TRUE(book->isVisible());
    }
    MainForm = nullptr;
}

TEST_F(OptionsDialogTest, ASettingsFolderThatCannotBeWrittenIsReported) {
    // A file where the folder should be.
    WriteFile(config_->Path() + "/Bindwell", TextBytes("x"));
    EXPECT_FALSE(Ok([](TfrmOption& dialog) { dialog.SEdtTurn->setValue(800); }));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Bindwell"), std::string::npos) << messages[0];
    EXPECT_EQ(book->TurnTime, 800);
}

TEST_F(OptionsDialogTest, BrowseButtonsAskTheirDialogsAndTakeTheAnswer) {
    std::vector<FileDialogRequest> asked;
    std::optional<QString> answer = QStringLiteral("/music/Song.MP3");
    SetFileDialogSeam([&](const FileDialogRequest& request) {
        asked.push_back(request);
        return answer;
    });
    Dialog([&](TfrmOption& dialog) {
        dialog.BtnRowseMusic->click();
        EXPECT_EQ(dialog.EdtMusic->text(), "/music/Song.MP3");
        answer = QStringLiteral("/p/Sea.JPG");
        dialog.BtnRowsePic->click();
        EXPECT_EQ(dialog.EdtBackPic->text(), "/p/Sea.JPG");
        answer.reset();
        dialog.BtnRowseMusic->click();
        dialog.BtnRowsePic->click();
        EXPECT_EQ(dialog.EdtMusic->text(), "/music/Song.MP3");
        EXPECT_EQ(dialog.EdtBackPic->text(), "/p/Sea.JPG");
    });
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0].DialogKind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(asked[0].Filter, "All music|*.mid;*.wav;*.mp3");
    EXPECT_EQ(asked[1].DialogKind, FileDialogRequest::Kind::OpenPicture);
    EXPECT_TRUE(asked[1].Filter.startsWith("All Pic|*.pcd;*.pic;*.cel;"));
    EXPECT_TRUE(asked[1].Filter.endsWith(";*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf"));
    EXPECT_EQ(QtFilter(asked[0].Filter, true), "All music (*.mid *.wav *.mp3 *.MID *.WAV *.MP3)");
}

TEST_F(OptionsDialogTest, ComponentsSitAtTheirPlacesInBothLanguages) {
    for (const int language : {0, 1}) {
        LanguageFlag = language;
        Dialog([&](TfrmOption& dialog) {
            EXPECT_EQ(dialog.size(), QSize(416, 252));
            // Windowed controls grew by 3 and moved under the title.
            EXPECT_EQ(dialog.SEdtTurn->geometry(), QRect(145, 34, 59, 22));
            EXPECT_EQ(dialog.SEdtPlay->geometry(), QRect(346, 36, 59, 22));
            EXPECT_EQ(dialog.GroupBox2->geometry(), QRect(213, 66, 190, 74));
            EXPECT_EQ(dialog.EdtMusic->geometry(), QRect(91, 150, 252, 21));
            EXPECT_EQ(dialog.Label2->pos(), QPoint(14, 181));
            EXPECT_EQ(dialog.RBtnRangOff->geometry(), QRect(22, 44, 113, 17));
            EXPECT_EQ(dialog.SEdtTurn->minimum(), 500);
            EXPECT_EQ(dialog.SEdtTurn->maximum(), 10000);
            EXPECT_EQ(dialog.SEdtPlay->minimum(), 3000);
            EXPECT_EQ(dialog.SEdtTurn->findChild<QLineEdit*>()->maxLength(), 5);
            const auto& entries = dialog.ButtonXp()->Entries();
            ASSERT_EQ(entries.size(), 4u);
            EXPECT_EQ(entries[2].Box->geometry(), QRect(274, 221, 67, 22));  // BtnOk
            EXPECT_EQ(entries[3].Box->geometry(), QRect(340, 221, 67, 22));  // BtnCancel
            EXPECT_EQ(dialog.BtnOk->x(), TButtonXp::kOutOfSight);
            EXPECT_EQ(dialog.MusicGroup->buttons().size(), 2);
            EXPECT_TRUE(dialog.MusicGroup->exclusive());
            // The tab order from OK round to the spin edits.
            EXPECT_EQ(dialog.BtnOk->nextInFocusChain(), dialog.BtnCancel);
            EXPECT_EQ(dialog.EdtBackPic->nextInFocusChain(), dialog.BtnRowsePic);

            const bool english = language == 1;
            const std::pair<QString, const char*> texts[] = {
                {dialog.windowTitle(), english ? "System Option" : "系统配置"},
                {dialog.Label3->text(),
                 english ? "Turns page:( milliscond):" : "相册翻页速度（毫秒）："},
                {dialog.Label4->text(),
                 english ? "page stops:( milliscond)" : "每页停留时间（毫秒）："},
                {dialog.GroupBox1->title(), english ? "BackMusic" : "背景音乐"},
                {dialog.GroupBox2->title(), english ? "Sound effect" : "动作音效"},
                {dialog.RBtnMusicNo->text(), english ? "On" : "开"},
                {dialog.RBtnMusicOff->text(), english ? "off" : "关"},
                {dialog.RBtnRangOff->text(), english ? "Off" : "关"},
                {dialog.Label1->text(), english ? "BackMusic:" : "背景音乐："},
                {dialog.Label2->text(), english ? "BackPicture:" : "背景图片："},
                {dialog.BtnRowseMusic->text(), english ? "Browse(&M)" : "浏览(&M)"},
                {dialog.BtnRowsePic->text(), english ? "Browse(&B)" : "浏览(&B)"},
                {dialog.BtnOk->text(), english ? "Ok(&O)" : "确定(&O)"},
                {dialog.BtnCancel->text(), english ? "Cancel(&C)" : "取消(&C)"},
            };
            for (const auto& [shown, expected] : texts)
                EXPECT_EQ(shown.toStdString(), expected);
        });
    }
}

TEST_F(OptionsDialogTest, EnglishMessagesSpeakOfTheBackgroundPicture) {
    LanguageFlag = 1;
    SetRegistry("BackPic=" + Path("ground.png") + "\n");
    EXPECT_TRUE(Ok([&](TfrmOption& dialog) {
        dialog.EdtMusic->setText(QString::fromStdString(Path("missing.wav")));
    }));
    EXPECT_FALSE(Ok([&](TfrmOption& dialog) { dialog.EdtBackPic->clear(); }));
    EXPECT_TRUE(Ok([&](TfrmOption& dialog) {
        dialog.EdtBackPic->setText(QString::fromStdString(Path("missing.png")));
    }));
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "The background music file does not exist.",
                            "To Replace the old background picture, you need to restart the album.",
                            "The background picture file does not exist."}));
}

}  // namespace
}  // namespace pagora

namespace pagora {
namespace {

void WaitClosed(const TfrmOption& dialog) {
    Within([&] { return !dialog.isVisible(); });
}

TEST_F(OptionsDialogTest, TheHiddenButtonsKeepTheirKeys) {
    std::vector<FileDialogRequest::Kind> asked;
    SetFileDialogSeam([&](const FileDialogRequest& request) -> std::optional<QString> {
        asked.push_back(request.DialogKind);
        return std::nullopt;
    });
    // Alt+M and Alt+B browse; Tab walks from OK to Cancel, whose Enter cancels.
    EXPECT_FALSE(Dialog([&](TfrmOption& dialog) {
        dialog.SEdtTurn->setValue(2000);
        QTest::keyClick(&dialog, Qt::Key_M, Qt::AltModifier);
        QTest::keyClick(&dialog, Qt::Key_B, Qt::AltModifier);
        EXPECT_TRUE(Within([&] { return asked.size() == 2; }));
        dialog.BtnOk->setFocus();
        QTest::keyClick(dialog.BtnOk, Qt::Key_Tab);
        EXPECT_EQ(dialog.focusWidget(), dialog.BtnCancel);
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
        WaitClosed(dialog);
    }));
    EXPECT_EQ(asked,
              (std::vector{FileDialogRequest::Kind::Open, FileDialogRequest::Kind::OpenPicture}));
    EXPECT_FALSE(std::filesystem::exists(RegistryPath()));
    // Alt+C cancels, Alt+O confirms.
    EXPECT_FALSE(Dialog([&](TfrmOption& dialog) {
        dialog.SEdtTurn->setValue(2000);
        QTest::keyClick(&dialog, Qt::Key_C, Qt::AltModifier);
        WaitClosed(dialog);
    }));
    EXPECT_EQ(book->TurnTime, 3);
    EXPECT_FALSE(Dialog([&](TfrmOption& dialog) {
        dialog.SEdtTurn->setValue(2000);
        QTest::keyClick(&dialog, Qt::Key_O, Qt::AltModifier);
        WaitClosed(dialog);
    }));
    EXPECT_EQ(book->TurnTime, 2000);
    // Enter in an edit confirms too.
    EXPECT_FALSE(Dialog([&](TfrmOption& dialog) {
        dialog.SEdtTurn->setValue(2500);
        dialog.EdtMusic->setFocus();
        QTest::keyClick(dialog.EdtMusic, Qt::Key_Return);
    }));
    EXPECT_EQ(book->TurnTime, 2500);
}

}  // namespace
}  // namespace pagora
