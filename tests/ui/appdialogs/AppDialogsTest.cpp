// The application's commands: where the dialogs open and that they are made once,
// their labels, Help, About, the web page, and the document type in a temporary
// data folder.

#include "ui/appdialogs/AppDialogs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <memory>

#include "AppDialogsTestSupport.h"
#include "foundation/AppPrivacy.h"
#include "foundation/AppVersion.h"
#include "platform/Locale.h"
#include "tests/TestPaths.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/ControlLabels.h"
#include "ui/guibase/SpyFilter.h"

namespace {

struct TShownAlert {
    std::string title, text, button0, button1;
    int32_t escapeIndex;
    platform::AlertType type;
};

class Commands : public ::testing::Test {
protected:
    Commands()
    {
        TemporaryUserFolders::Get();
        TAppDialogsHost host;
        host.MainFrame = [this] { return mainFrame; };
        host.EditorView = [this] { return platform::Messenger(&editor.handler); };
        host.SetStatus = [this](const std::string& text) { status.push_back(text); };
        dialogs = std::make_unique<TAppDialogs>("Kivo-BASIC", std::move(host));
        dialogs->SetAlertShower([this](const std::string& title, const std::string& text, const std::string& b0,
                                       const std::string& b1, int32_t escape, platform::AlertType type) {
            alerts.push_back({title, text, b0, b1, escape, type});
            return answer;
        });
    }
    ~Commands() override { gIAPs.SetString("AccKeyFormat2", kDefaultAccKeyFormat); }

    // Where the dialog's content stands on the screen.
    static QPoint TopLeft(const TBasicWindow* dialog)
    {
        const platform::Rect frame = dialog->Frame();
        return QPoint(static_cast<int>(frame.left), static_cast<int>(frame.top));
    }
    static QRect Screen() { return QGuiApplication::primaryScreen()->geometry(); }

    platform::Rect mainFrame{100, 50, 700, 500};
    RecordingTarget editor;
    std::vector<std::string> status;
    std::vector<TShownAlert> alerts;
    int32_t answer = 0;
    std::unique_ptr<TAppDialogs> dialogs;
};

TEST_F(Commands, GoToLineOpensTwentyPixelsBelowTheMainWindowAndIsMadeOnce)
{
    dialogs->MItemGoToLineClicked();
    TSimpleInputWindow* first = dialogs->GoToLineWin();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->isHidden());
    EXPECT_EQ(TopLeft(first), QPoint(100, 70));
    EXPECT_EQ(first->windowTitle(), "Go to Line");

    first->View()->TextField()->setText("120");
    first->View()->DefaultButton()->click();
    Pump();
    EXPECT_TRUE(first->isHidden());

    mainFrame = platform::Rect{300, 300, 800, 600};
    dialogs->MItemGoToLineClicked();
    EXPECT_EQ(dialogs->GoToLineWin(), first);
    EXPECT_EQ(TopLeft(first), QPoint(100, 70)) << "a later use shows it where it was";
    EXPECT_EQ(first->View()->TextField()->selectedText(), "120");

    const std::vector<platform::Message>& sent = editor.Drain();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].what, kGoToLineDialogCode);
    std::string text;
    EXPECT_EQ(sent[0].FindString(kSimpleInputTextField, &text), platform::kOk);
    EXPECT_EQ(text, "120");
}

TEST_F(Commands, RunLineSendsItsOwnRequest)
{
    dialogs->MItemRunLineClicked();
    TSimpleInputWindow* dialog = dialogs->RunLineWin();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Run with Line Number");
    EXPECT_EQ(control_label(dialog->View()->DefaultButton()),
              merge_accelerator_key(kDefaultAccKeyFormat, "R", platform::get_string("Run")));
    dialog->View()->TextField()->setText("*loop");
    dialog->View()->DefaultButton()->click();
    Pump();
    const std::vector<platform::Message>& sent = editor.Drain();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].what, kRunLineDialogCode);
}

TEST_F(Commands, DialogsStayFivePixelsInsideTheScreen)
{
    const QRect screen = Screen();
    mainFrame = platform::Rect{static_cast<float>(screen.right() - 20), static_cast<float>(screen.bottom() - 10),
                               static_cast<float>(screen.right() + 400), static_cast<float>(screen.bottom() + 300)};
    dialogs->MItemGoToLineClicked();
    dialogs->MItemRenumberClicked();
    for (TBasicWindow* dialog :
         {static_cast<TBasicWindow*>(dialogs->GoToLineWin()), static_cast<TBasicWindow*>(dialogs->RenumWin())}) {
        const platform::Rect frame = dialog->Frame();
        EXPECT_EQ(frame.right, static_cast<float>(screen.right() - 5));
        EXPECT_EQ(frame.bottom, static_cast<float>(screen.bottom() - 5));
    }
}

TEST_F(Commands, RenumberDialogSendsToTheEditorView)
{
    dialogs->MItemRenumberClicked();
    TRenumWindow* dialog = dialogs->RenumWin();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TopLeft(dialog), QPoint(100, 70));
    dialog->View()->NewLineField()->setText("100");
    dialog->View()->OKButton()->click();
    Pump();
    const std::vector<platform::Message>& sent = editor.Drain();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].what, kRenumberDialogCode);
    dialogs->MItemRenumberClicked();
    EXPECT_EQ(dialogs->RenumWin(), dialog);
}

TEST_F(Commands, ANewAcceleratorFormatRelabelsBothInputDialogsAndLaterOnes)
{
    const std::string format = "\x01"
                               "a) ";
    platform::Message notice(kIAPChangedMessage);
    notice.AddString("IAP:SrcIAPItem", "AccKeyFormat2");

    dialogs->MItemGoToLineClicked();
    dialogs->MItemRunLineClicked();
    ASSERT_EQ(gIAPs.SetString("AccKeyFormat2", format), 0);
    dialogs->IAPChanged(notice);
    EXPECT_EQ(control_label(dialogs->GoToLineWin()->View()->TextField()),
              merge_accelerator_key(format, "L", platform::get_string("Go to Line: ")));
    EXPECT_EQ(control_label(dialogs->RunLineWin()->View()->DefaultButton()),
              merge_accelerator_key(format, "R", platform::get_string("Run")));

    dialogs->MItemRenumberClicked();
    EXPECT_EQ(control_label(dialogs->RenumWin()->View()->NewLineField()),
              merge_accelerator_key(format, "N", platform::get_string("New Line: ")))
        << "made after the change";
}

TEST_F(Commands, ALanguageChangeRetitlesTheInputDialogs)
{
    dialogs->MItemGoToLineClicked();
    dialogs->MItemRunLineClicked();
    static const platform::CatalogueText changed[] = {{"Go to Line", "Aller"}, {"Run with Line Number", "Lancer"}};
    static const platform::CatalogueText restored[] = {{"Go to Line", "Go to Line"},
                                                       {"Run with Line Number", "Run with Line Number"}};
    platform::add_catalogue_texts(changed);
    dialogs->LanguageChanged();
    platform::add_catalogue_texts(restored);
    EXPECT_EQ(dialogs->GoToLineWin()->windowTitle(), "Aller");
    EXPECT_EQ(dialogs->RunLineWin()->windowTitle(), "Lancer");
}

TEST_F(Commands, HelpWithoutTheReadMeNamesTheFileOnly)
{
    QTemporaryDir exeFolder;
    dialogs->SetExecutable(exeFolder.path().toStdString() + "/", "kivo-basic");
    FakeOpener opener({"file"});
    dialogs->MItemHelpClicked();
    EXPECT_TRUE(opener.opened.empty());
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_NE(alerts[0].text.find("ReadMe_enUS.txt"), std::string::npos) << alerts[0].text;
    EXPECT_EQ(alerts[0].text.find(exeFolder.path().toStdString()), std::string::npos) << alerts[0].text;
    EXPECT_EQ(alerts[0].title, "* Kivo-BASIC *");
    EXPECT_EQ(alerts[0].button0, merge_accelerator_key(kDefaultAccKeyFormat, "U", "Understand"));
    EXPECT_EQ(alerts[0].escapeIndex, -1);
    EXPECT_EQ(alerts[0].type, platform::AlertType::Warning);
}

TEST_F(Commands, HelpOpensTheReadMeBesideTheExecutable)
{
    QTemporaryDir exeFolder;
    QFile readMe(QDir(exeFolder.path()).filePath("ReadMe_enUS.txt"));
    ASSERT_TRUE(readMe.open(QIODevice::WriteOnly));
    readMe.write("help\n");
    readMe.close();
    dialogs->SetExecutable(exeFolder.path().toStdString() + "/", "kivo-basic");
    FakeOpener opener({"file"});
    dialogs->MItemHelpClicked();
    EXPECT_TRUE(alerts.empty());
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], QUrl::fromLocalFile(readMe.fileName()));
}

TEST_F(Commands, TheBuiltApplicationsHelpOpensTheReadMeFromTheSourceTree)
{
    TAppPrivacy privacy;
    privacy.AnalyzeExePath(test_paths::AppExecutable);
    ASSERT_FALSE(privacy.ExePath().empty()) << test_paths::AppExecutable;
    dialogs->SetExecutable(privacy.ExePath(), privacy.ExeName());
    FakeOpener opener({"file"});
    dialogs->MItemHelpClicked();
    EXPECT_TRUE(alerts.empty()) << alerts[0].text;
    ASSERT_EQ(opener.opened.size(), 1u);
    const QFileInfo opened(opener.opened[0].toLocalFile());
    EXPECT_EQ(opened.absolutePath().toStdString() + "/", privacy.ExePath());

    QFile shipped(opened.filePath());
    QFile source(QString::fromStdString(test_paths::InSource("ui/app/ReadMe_enUS.txt")));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray text = source.readAll();
    EXPECT_FALSE(text.isEmpty());
    EXPECT_EQ(shipped.readAll(), text) << "the copy beside the executable is out of date";
}

TEST_F(Commands, AboutTwiceShowsOneBoxAndTheVersionEachTime)
{
    dialogs->AboutRequested();
    TTAVRENAboutWindow* box = dialogs->AboutWin();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isHidden());
    box->Hide();
    dialogs->AboutRequested();
    EXPECT_EQ(dialogs->AboutWin(), box);
    EXPECT_FALSE(box->isHidden());
    const std::string shown = std::string("Kivo-BASIC   ") + gAppVer;
    EXPECT_EQ(status, (std::vector<std::string>{shown, shown}));
    dialogs->CloseAbout();
}

namespace {

// Records the shared-preference notices that reach the About box's information view
// straight from the registry, not the copies of its window's spy filters.
class NoticeRecorder : public TMessageFilter {
public:
    explicit NoticeRecorder(const platform::Handler* view, std::vector<std::string>* items)
        : TMessageFilter(kIAPChangedMessage), mView(view), mItems(items)
    {}
    TFilterResult Filter(platform::Message* message, platform::Handler** target) override
    {
        std::string item;
        if (*target == mView && !message->HasField(kSpySendFlag) &&
            message->FindString("IAP:SrcIAPItem", &item) == platform::kOk)
            mItems->push_back(item);
        return TFilterResult::Dispatch;
    }

private:
    const platform::Handler* mView;
    std::vector<std::string>* mItems;
};

}  // namespace

TEST_F(Commands, TheAboutBoxObservesTheSharedPreferences)
{
    dialogs->AboutRequested();
    TTAVRENAboutWindow* box = dialogs->AboutWin();
    ASSERT_NE(box, nullptr);
    auto* view = dynamic_cast<TSimpleAboutView*>(box->View());
    ASSERT_NE(view, nullptr);
    std::vector<std::string> seen;
    box->AddCommonFilter(new NoticeRecorder(view->Info(), &seen));

    // The notice as the application applies it to the registry.
    platform::Message notice(kIAPChangedMessage);
    notice.AddString("IAP:SrcIAPItem", "AccKeyFormat2");
    notice.AddString("AccKeyFormat2", "(%AccKey%)%Label%");
    ASSERT_EQ(gIAPs.SetValue(notice), 0);
    Pump();
    EXPECT_EQ(seen, (std::vector<std::string>{"AccKeyFormat2"}));
    dialogs->CloseAbout();
}

class DocumentTypeCommand : public Commands {
protected:
    DocumentTypeCommand()
    {
        data = std::make_unique<QTemporaryDir>();
        ::setenv("XDG_DATA_HOME", data->path().toLocal8Bit().constData(), 1);
        dialogs->SetExecutable("/opt/kivo/", "kivo-basic");
    }
    ~DocumentTypeCommand() override
    {
        ::setenv("XDG_DATA_HOME", TemporaryUserFolders::Get().Data().toLocal8Bit().constData(), 1);
    }
    QStringList Written() const
    {
        QStringList files;
        QDir dir(data->path());
        for (const QString& entry : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) files << entry;
        return files;
    }
    std::string Globs() const
    {
        QFile file(QDir(data->path()).filePath("mime/globs2"));
        if (!file.open(QIODevice::ReadOnly)) return std::string();
        return file.readAll().toStdString();
    }
    std::unique_ptr<QTemporaryDir> data;
};

TEST_F(DocumentTypeCommand, CancelOrEscapeTouchesNothing)
{
    answer = 0;  // Cancel, which Escape also chooses
    dialogs->MItemRegisterMimeClicked();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].button0, "Cancel");
    EXPECT_EQ(alerts[0].button1, "OK");
    EXPECT_EQ(alerts[0].escapeIndex, 0);
    EXPECT_EQ(alerts[0].type, platform::AlertType::Info);
    EXPECT_NE(alerts[0].text.find("Kivo-BASIC"), std::string::npos);
    EXPECT_TRUE(Written().isEmpty()) << Written().join(' ').toStdString();
}

TEST_F(DocumentTypeCommand, OKWritesEverythingAndTheGlobsAreKnown)
{
    answer = 1;
    dialogs->MItemRegisterMimeClicked();
    EXPECT_EQ(alerts.size(), 1u) << "the question only";
    EXPECT_NE(Globs().find("text/x-BASIC-source-code:*.bas"), std::string::npos) << Globs();
    EXPECT_TRUE(QFile::exists(QDir(data->path()).filePath("applications/kivo-basic.desktop")));
    EXPECT_TRUE(QFile::exists(QDir(data->path()).filePath("applications/mimeapps.list")));
    QFile icon(QDir(data->path()).filePath("icons/hicolor/32x32/mimetypes/text-x-BASIC-source-code.png"));
    ASSERT_TRUE(icon.open(QIODevice::ReadOnly));
    EXPECT_TRUE(icon.readAll().startsWith("\x89PNG")) << "the application's icon as a PNG file";
}

TEST_F(DocumentTypeCommand, AFolderThatCannotBeWrittenIsReported)
{
    QFile blocker(QDir(data->path()).filePath("applications"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    answer = 1;
    dialogs->MItemRegisterMimeClicked();
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_NE(alerts[1].text.find("applications"), std::string::npos) << alerts[1].text;
    EXPECT_EQ(alerts[1].type, platform::AlertType::Warning);
    EXPECT_FALSE(QFile::exists(QDir(data->path()).filePath("mime/packages/kivo-basic.xml"))) << "nothing half-written";
}

TEST_F(DocumentTypeCommand, AFailedDatabaseRebuildIsReported)
{
    dialogs->SetMimeDatabaseCommand("false");
    answer = 1;
    dialogs->MItemRegisterMimeClicked();
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_NE(alerts[1].text.find("update-mime-database"), std::string::npos) << alerts[1].text;
}

TEST_F(DocumentTypeCommand, StartUpInstallsOnlyForAnotherVersion)
{
    dialogs->InstallBasicListMime(gAppVer);
    EXPECT_TRUE(Written().isEmpty()) << "the same version touches nothing";

    dialogs->InstallBasicListMime("Ver 0.1");
    EXPECT_NE(Globs().find("text/x-BASIC-source-code:*.bas"), std::string::npos);
    EXPECT_FALSE(QFile::exists(QDir(data->path()).filePath("applications/kivo-basic.desktop")));
    EXPECT_TRUE(alerts.empty());
}

}  // namespace
