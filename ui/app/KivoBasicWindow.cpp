#include "ui/app/KivoBasicWindow.h"

#include <QResizeEvent>
#include <QShortcut>

#include "foundation/Common.h"
#include "foundation/HeaderConstants.h"
#include "platform/Locale.h"
#include "ui/app/AppIdentity.h"
#include "ui/app/AppMessages.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/SubmenuItem.h"

std::string main_menu_label(const std::string& format, const char* key, const char* letter, bool dots)
{
    std::string text =
        platform::replace_placeholder(platform::get_string(key), "%AppAuthor%", platform::get_string(gAppAuthorE));
    std::string label = menu_label_with_mnemonic(format, letter ? letter : "", text);
    if (dots) label += FUC_ELLIPSIS;
    return label;
}

TKivoBasicWindow::TKivoBasicWindow(platform::Rect frame, platform::Handler* application)
    : TBasicWindow(frame, gAppNameE), mApplication(application), mMenuBar(new QMenuBar(this)), mBasicView(nullptr)
{
    setObjectName(QStringLiteral("MainWindow"));
    mMenuBar->setObjectName(QStringLiteral("MenuBar"));
    mMenuBar->setNativeMenuBar(false);
    const int barHeight = mMenuBar->sizeHint().height();
    const float width = frame.right - frame.left;
    const float height = frame.bottom - frame.top;
    mBasicView = new TKivoBasicView(platform::Rect{0, static_cast<float>(barHeight + 1), width, height});
    CreateMenu();
    AddChild(mBasicView);
    LayOut();
    // F10 opens the first menu; the menus' letters (Alt+letter) are their mnemonics.
    auto* openMenuBar = new QShortcut(QKeySequence(Qt::Key_F10), this);
    QObject::connect(openMenuBar, &QShortcut::activated, this, [this] {
        if (!mMenuBar->actions().isEmpty()) mMenuBar->setActiveAction(mMenuBar->actions().front());
    });
}

TKivoBasicWindow::~TKivoBasicWindow() = default;

void TKivoBasicWindow::LayOut()
{
    const int barHeight = mMenuBar->sizeHint().height();
    mMenuBar->setGeometry(0, 0, width(), barHeight);
    mBasicView->setGeometry(0, barHeight + 1, width(), std::max(0, height() - barHeight - 1));
}

void TKivoBasicWindow::resizeEvent(QResizeEvent* event)
{
    TBasicWindow::resizeEvent(event);
    LayOut();
}

bool TKivoBasicWindow::ReceiverHandles(const TMainMenuRow& row) const
{
    switch (row.target) {
    case TMenuTarget::EditorView: return mBasicView->HandlesCommand(row.what);
    case TMenuTarget::Window: return HandlesCommand(row.what);
    case TMenuTarget::Application: {
        const auto* receiver = dynamic_cast<const TCommandReceiver*>(mApplication);
        return receiver != nullptr && receiver->HandlesCommand(row.what);
    }
    case TMenuTarget::None: break;
    }
    return false;
}

void TKivoBasicWindow::SendMenuMessage(const TMainMenuRow& row)
{
    switch (row.target) {
    case TMenuTarget::EditorView: PostMessage(row.what, mBasicView); break;
    case TMenuTarget::Window: PostMessage(row.what); break;
    case TMenuTarget::Application: platform::Messenger(mApplication).SendMessage(row.what); break;
    case TMenuTarget::None: break;
    }
}

void TKivoBasicWindow::AddMenuItem(QMenu* menu, const TMainMenuRow& row, const std::string& format)
{
    const std::string label = main_menu_label(format, row.labelKey, row.letter, row.dots);
    QAction* action = menu->addAction(QString::fromStdString(label));
    action->setData(static_cast<uint>(row.what));
    if (row.shortcut != 0) action->setShortcut(QKeySequence(QStringLiteral("Ctrl+%1").arg(QChar(row.shortcut))));
    action->setEnabled(ReceiverHandles(row));
    const TMainMenuRow* source = &row;
    QObject::connect(action, &QAction::triggered, this, [this, source] { SendMenuMessage(*source); });
    if (row.what == kRepeatRunMessage) mRepeatItem = action;
    if (row.what == kUseDebuggerMessage) mUseDebuggerItem = action;
    if (row.what == kRepeatRunMessage || row.what == kUseDebuggerMessage) action->setCheckable(true);
}

void TKivoBasicWindow::CreateMenu()
{
    const std::string format = current_accelerator_format();
    QMenu* menu = nullptr;
    QMenu* outer = nullptr;  // the menu a submenu belongs to, while its rows are read
    for (const TMainMenuRow& row : main_menu_rows()) {
        switch (row.kind) {
        case TMenuRowKind::Title:
            menu = mMenuBar->addMenu(QString::fromStdString(main_menu_label(format, row.labelKey, row.letter, false)));
            break;
        case TMenuRowKind::Item: AddMenuItem(menu, row, format); break;
        case TMenuRowKind::Separator: menu->addSeparator(); break;
        case TMenuRowKind::Submenu: {
            outer = menu;
            menu = outer->addMenu(QString::fromStdString(main_menu_label(format, row.labelKey, row.letter, row.dots)));
            QAction* item = menu->menuAction();
            item->setData(static_cast<uint>(row.what));
            // The submenu's own item sends its message too (the Open panel): clicked,
            // chosen with Return, or by its shortcut, which the menu shows.
            if (row.shortcut != 0) item->setShortcut(QKeySequence(QStringLiteral("Ctrl+%1").arg(QChar(row.shortcut))));
            const TMainMenuRow* source = &row;
            QObject::connect(item, &QAction::triggered, this, [this, source] { SendMenuMessage(*source); });
            new TSubmenuItemFilter(outer, menu);
            mRecentListsMenu = menu;
            break;
        }
        case TMenuRowKind::SubmenuEnd: menu = outer; break;
        }
    }
    UpdateMItemRepeatRun();
    UpdateMItemUseDebugger();
    GenerateMenuMRUF();
}

void TKivoBasicWindow::DestroyMenu()
{
    for (QAction* action : mMenuBar->actions()) {
        QMenu* menu = action->menu();
        mMenuBar->removeAction(action);
        delete menu;
    }
    mMenuBar->clear();
    mRecentListsMenu = nullptr;
    mRepeatItem = nullptr;
    mUseDebuggerItem = nullptr;
}

void TKivoBasicWindow::SetLabelsCommon()
{
    DestroyMenu();
    CreateMenu();
}

void TKivoBasicWindow::UpdateMItemRepeatRun()
{
    if (mRepeatItem) mRepeatItem->setChecked(gExitStates.RepeatRun.load());
}

void TKivoBasicWindow::UpdateMItemUseDebugger()
{
    if (mUseDebuggerItem) mUseDebuggerItem->setChecked(gExitStates.UseDebugger.load());
}

bool TKivoBasicWindow::QuitRequested()
{
    if (CurrentMessage() != nullptr) {
        platform::Messenger(mApplication).SendMessage(kQuitMessage);
        return false;
    }
    // The application's own quit closes the window once the question was answered.
    if (gAppPrivacy.Quitting.load()) return true;
    return mBasicView->AskSave(platform::Message(kQuitMessage), mApplication);
}

bool TKivoBasicWindow::Quit()
{
    gExitStates.MainWindowFrame = Frame();
    StorePanelFolder();
    return QuitForApplication();
}

void TKivoBasicWindow::IAPChanged(platform::Message* notice)
{
    std::string item;
    if (notice != nullptr && notice->FindString("IAP:SrcIAPItem", &item) == platform::kOk && item == "AccKeyFormat2")
        SetLabelsCommon();
}

void TKivoBasicWindow::LanguageChanged()
{
    SetLabelsCommon();
    SetFilePanelLabel();
}
