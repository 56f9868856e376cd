#pragma once
// The run window: the run view below a menu bar with the two drive menus, "Copy" and
// "Window". It keeps the size of its content: exactly the 640 × 400 view, plus the bar
// when it is shown. The close box hides it and the run goes on; only the application's
// Quit closes it, storing its frame in "RWFr". The window manager's maximize request is
// taken as the zoom: it shows or hides the menu bar ("MBrS") instead of maximizing, and
// the screen keeps its size. The window's size limits leave the window manager room to
// offer that maximize.
// Every key typed with Ctrl goes to the run view as 'ctkd' (CtrlKeyFilter.h).
//
// The drive menus (drives 1 and 2): the folder item opens the drive-folder panel
// ('spdf'), "Eject" empties the drive ('ejct' to the view), and below a separator come
// the ten folders used last, one list for both menus, kept in "KivoBASIC_MRUFDD.arc".
// The view answers every change with 'udfr', which relabels the folder item and puts
// the folder at the top of the list. A drive menu's title is lit as its access lamp
// while the program uses a file on the drive ('salr', counted +1 and −1).

#include <QMenuBar>
#include <array>
#include <memory>
#include <string>

#include "foundation/MRUF.h"

#include "platform/Messenger.h"
#include "platform/SystemMessages.h"
#include "ui/guibase/GUIBase.h"
#include "ui/runwindow/RunView.h"

// What the Window menu sends to the application.
inline constexpr uint32_t kShowMainWindowMessage = platform::fourcc("smwn");
inline constexpr uint32_t kShowDebugWindowMessage = platform::fourcc("sdwn");
// The folder item of a drive menu: int32 "DrvFolderIdx".
inline constexpr uint32_t kSpecifyDrvFolderMessage = platform::fourcc("spdf");
// The drive-folder panel closed.
using platform::kPanelCancelMessage;
// The recent drive folders' settings file.
inline constexpr const char* kRecentDrvFoldersFile = "KivoBASIC_MRUFDD.arc";

class QFileDialog;
class TFDDLampStyle;

// A drive menu's folder item's text: the decorated letter C alone (nothing with the
// empty format) as the item's mnemonic, the folder's name shown as it stands ("&"
// included), " ...".
std::string drive_folder_item_text(const std::string& format, const std::string& name);

class TRunWindow : public TBasicWindow {
public:
    // `frame`: the window's place ("RWFr"); `alerts` as for the run view.
    // `midi` as for the run view.
    explicit TRunWindow(platform::Rect frame, TAlertSink* alerts = nullptr,
                        std::unique_ptr<TRunMidiPorts> midi = nullptr);
    ~TRunWindow() override;

    TRunView* RunView() const { return mRunView; }
    QMenuBar* MenuBar() const { return mMenuBar; }
    // Where the Window menu's items go (the application); none until it is set.
    void SetApplicationTarget(const platform::Messenger& target)
    {
        mAppTarget = target;
        mRunView->SetApplicationTarget(target);
    }

    void MessageReceived(platform::Message* message) override;

    void Show() override;
    void IAPChanged(platform::Message* notice) override;
    void LanguageChanged() override;
    // Inverts "MBrS" and lays the window out again; the window keeps its size class.
    void Zoom();
    // The application's quit: stores the frame in "RWFr" and closes the window.
    bool Quit();

    void CreateMenu();
    void DestroyMenu();
    void SetLabelsCommon();
    void UpdateMBarVisibility();

    // --- the drive menus, the drive-folder panel and the lamps ---
    void GenerateMenuMRUF();
    void MItemSpecifyDrvFolderClicked(const platform::Message& message);
    void SetFilePanelLabel();
    void SetOpenPanelFolder();
    void Cancel();
    void UpdateMenuDrvFolderRqtd(const platform::Message& message);
    void SetFDDAccessLampRqtd(const platform::Message& message);
    bool SaveMRUF() const;
    QMenu* DriveMenu(int drive) const { return drive == 0 || drive == 1 ? mDriveMenus[drive] : nullptr; }
    const TMRUF& RecentDrvFolders() const { return mRecentFolders; }
    // The panel, once the first 'spdf' made it.
    QFileDialog* DrvFolderPanel() const { return mPanel; }
    int LampCount(int drive) const { return drive == 0 || drive == 1 ? mLampCounts[drive] : 0; }
    bool LampLit(int drive) const;

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void AddItem(QMenu* menu, const std::string& label, const platform::Message& message, bool toApplication);
    void InstallLampStyle();
    void SetUpRecentDrvFolders();
    void CreateDriveMenus(const std::string& format);
    void ShowLamp(int drive);
    void RememberPanelFolder();
    // The window's size for the menu bar's state now.
    QSize ContentSize() const;
    // The zoom once the window is restored.
    void FinishZoom();

    QMenuBar* mMenuBar;
    TRunView* mRunView;
    platform::Messenger mAppTarget;
    // A maximize from the window system is answered in two steps: restore, then zoom.
    enum class ZoomStep { None, Maximized, Restoring };
    ZoomStep mZoom = ZoomStep::None;
    std::array<QMenu*, 2> mDriveMenus{};
    std::array<int, 2> mLampCounts{};
    std::array<std::string, 2> mDriveNames;  // as the last 'udfr' named them; the labels of rebuilt menus
    std::array<bool, 2> mDriveNamed{};
    TMRUF mRecentFolders;
    TFDDLampStyle* mLampStyle;
    QFileDialog* mPanel = nullptr;
    int32_t mPanelDrive = 0;   // the drive the panel chooses for
    std::string mPanelFolder;  // the panel's last folder that existed, for "RWPF"
};
