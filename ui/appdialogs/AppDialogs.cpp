#include "ui/appdialogs/AppDialogs.h"

#include "foundation/AppVersion.h"
#include "foundation/Common.h"
#include "platform/Locale.h"
#include "ui/appdialogs/DialogPlacement.h"
#include "ui/appdialogs/DocumentTypeCommand.h"
#include "ui/appdialogs/HelpCommand.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/Alert.h"
#include "ui/guibase/DesktopOpen.h"

namespace {

const platform::CatalogueText kAppDialogTexts[] = {
    {"@Err_Cannot_Show_Help %FileName%@", "The help file %FileName% cannot be shown."},
    {"@Ask_Register_Mime %AppName%@", "Make %AppName% the application that opens BASIC lists (.bas files)?"},
    {"@Err_Cannot_Register_Mime %Path%@", "The document type cannot be written to %Path%. Nothing was changed."},
    {"@Err_Mime_Database_Not_Updated@",
     "The document type was written, but the desktop's type database could not be rebuilt "
     "(update-mime-database)."},
};

int32_t show_real_alert(const std::string& title, const std::string& text, const std::string& button0,
                        const std::string& button1, int32_t escapeIndex, platform::AlertType type)
{
    return show_alert2(title, text, button0, button1, "", escapeIndex, type);
}

}  // namespace

TAppDialogs::TAppDialogs(std::string appName, TAppDialogsHost host)
    : mAppName(std::move(appName)), mHost(std::move(host)), mShowAlert(show_real_alert),
      mExeFolder(gAppPrivacy.ExePath()), mExeName(gAppPrivacy.ExeName())
{
    static const bool registered = (platform::add_catalogue_texts(kAppDialogTexts), true);
    (void)registered;
    install_iap_window_maker(&gIAPs, &mIAPWin);
}

TAppDialogs::~TAppDialogs()
{
    gIAPs.SetWindowMaker(nullptr);
}

void TAppDialogs::SetExecutable(std::string folder, std::string name)
{
    mExeFolder = std::move(folder);
    mExeName = std::move(name);
}

std::string TAppDialogs::AlertTitle() const
{
    return platform::replace_placeholder(platform::get_string("* %AppName% *"), "%AppName%",
                                         platform::get_string(mAppName));
}

void TAppDialogs::ShowErrorAlert(const std::string& text)
{
    const std::string button =
        merge_accelerator_key(current_accelerator_format(), "U", platform::get_string("Understand"));
    mShowAlert(AlertTitle(), text, button, "", -1, platform::AlertType::Warning);
}

void TAppDialogs::ShowLineInput(std::unique_ptr<TSimpleInputWindow>& dialog, TLineInputKind kind)
{
    if (!dialog) {
        const platform::Rect mainFrame = mHost.MainFrame();
        dialog = make_line_input_dialog(kind, dialog_frame_below(mainFrame), mHost.EditorView());
        place_dialog(dialog.get(), mainFrame);
    }
    dialog->Appear();
}

void TAppDialogs::MItemGoToLineClicked()
{
    ShowLineInput(mGoToLineWin, TLineInputKind::GoToLine);
}

void TAppDialogs::MItemRunLineClicked()
{
    ShowLineInput(mRunLineWin, TLineInputKind::RunLine);
}

void TAppDialogs::MItemRenumberClicked()
{
    if (!mRenumWin) {
        const platform::Rect mainFrame = mHost.MainFrame();
        mRenumWin = std::make_unique<TRenumWindow>(dialog_frame_below(mainFrame));
        place_dialog(mRenumWin.get(), mainFrame);
        mRenumWin->SetTarget(mHost.EditorView());
    }
    mRenumWin->Appear();
}

void TAppDialogs::MItemHelpClicked()
{
    if (open_help_file(mExeFolder) == platform::kOk) return;
    ShowErrorAlert(platform::replace_placeholder(platform::get_string("@Err_Cannot_Show_Help %FileName%@"),
                                                 "%FileName%", help_file_name()));
}

void TAppDialogs::MItemTAVRENCommonPrefsClicked()
{
    gIAPs.ShowWindow(dialog_frame_below(mHost.MainFrame()));
}

void TAppDialogs::AboutRequested()
{
    if (!mAboutWin) {
        const platform::Rect mainFrame = mHost.MainFrame();
        mAboutWin = std::make_unique<TTAVRENAboutWindow>(dialog_frame_below(mainFrame));
        place_dialog(mAboutWin.get(), mainFrame);
        mAboutWin->SetAppInfo(mAppName.c_str(), gAppVer);
        mAboutWin->SetTranslatorInfo("%LangNameInNative% translation by %TranslatorName%");
        mAboutWin->SetIAPRef(&gIAPs);
    }
    mAboutWin->Appear();
    mHost.SetStatus(mAppName + "   " + gAppVer);
}

void TAppDialogs::CloseAbout()
{
    if (mAboutWin) mAboutWin->QuitForApplication();
}

void TAppDialogs::MItemRegisterMimeClicked()
{
    const std::string question = platform::replace_placeholder(platform::get_string("@Ask_Register_Mime %AppName%@"),
                                                               "%AppName%", platform::get_string(mAppName));
    if (mShowAlert(AlertTitle(), question, platform::get_string("Cancel"), platform::get_string("OK"), 0,
                   platform::AlertType::Info) != 1)
        return;

    std::string dataHome;
    if (user_data_directory(&dataHome) != platform::kOk) {
        ShowErrorAlert(platform::replace_placeholder(platform::get_string("@Err_Cannot_Register_Mime %Path%@"),
                                                     "%Path%", "$XDG_DATA_HOME"));
        return;
    }
    const TTypeInstallResult result = install_basic_list_type(
        dataHome, TTypeInstall::Everything, basic_list_app(mExeFolder + mExeName, mAppName), mMimeDatabaseCommand);
    if (result.Status != platform::kOk)
        ShowErrorAlert(platform::replace_placeholder(platform::get_string("@Err_Cannot_Register_Mime %Path%@"),
                                                     "%Path%", result.FailedPath));
    else if (!result.DatabaseUpdated)
        ShowErrorAlert(platform::get_string("@Err_Mime_Database_Not_Updated@"));
}

void TAppDialogs::InstallBasicListMime(const std::string& savedVersion)
{
    if (savedVersion == gAppVer) return;
    std::string dataHome;
    if (user_data_directory(&dataHome) != platform::kOk) return;
    // At start-up a failure is not the user's concern: the command reports it.
    (void)install_basic_list_type(dataHome, TTypeInstall::OnlyMissing, basic_list_app(mExeFolder + mExeName, mAppName),
                                  mMimeDatabaseCommand);
}

void TAppDialogs::IAPChanged(const platform::Message& notice)
{
    std::string item;
    if (notice.FindString("IAP:SrcIAPItem", &item) == platform::kOk && item == "AccKeyFormat2") {
        if (mGoToLineWin) set_line_input_labels(mGoToLineWin.get(), TLineInputKind::GoToLine);
        if (mRunLineWin) set_line_input_labels(mRunLineWin.get(), TLineInputKind::RunLine);
    }
    if (mRenumWin) platform::Messenger(mRenumWin.get()).SendMessage(notice);
}

void TAppDialogs::LanguageChanged()
{
    if (mGoToLineWin) set_line_input_labels(mGoToLineWin.get(), TLineInputKind::GoToLine);
    if (mRunLineWin) set_line_input_labels(mRunLineWin.get(), TLineInputKind::RunLine);
}
