// The main window's recent lists and its two file panels: the open panel with its
// Encoding menu and "Insert to current position", and the save panel. Both are
// non-native Qt dialogs that stay hidden between uses, keeping their folder, and
// follow each other's folder; the folder outlives the run in "MWPF".

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include "foundation/Common.h"
#include "listfiles/SaveAsStart.h"
#include "platform/Locale.h"
#include "ui/app/AppIdentity.h"
#include "ui/app/AppMessages.h"
#include "ui/app/KivoBasicWindow.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/FilePanels.h"
#include "ui/widgets/MRUFMenu.h"

namespace {

const platform::CatalogueText kPanelTexts[] = {
    {"@Hint_Del_One_MRUL@", "To delete one entry, choose it with the mouse while holding Ctrl."},
};

// The Encoding menu, by the index that "DEnc" and the field "Encoding" hold; index 1
// is the separator.
const char* const kEncodingLabels[] = {
    "Auto Detect", nullptr, "UTF-8 (ZaRO)", "Shift-JIS (DOS-BASIC)", "JIS / NEC JIS (DISK-BASIC)",
};

constexpr int32_t kOpenPanelSource = 0;
constexpr int32_t kSavePanelSource = 1;

std::string home_folder()
{
    return QDir::homePath().toStdString();
}

QString title_of(const char* key)
{
    return QString::fromStdString(platform::replace_placeholder(platform::get_string(key), "%AppName%", gAppNameE));
}

}  // namespace

// --- recent lists ---

void TKivoBasicWindow::GenerateMenuMRUF()
{
    TMRUF& list = mRecentLists.List();
    list.SetAccFormat(current_accelerator_format());
    if (!mRecentListsMenu) return;
    GenerateMenu(list, mRecentListsMenu, platform::Messenger(this));
    for (QAction* action : mRecentListsMenu->actions())
        if (action->data().toUInt() == kDeleteAllMRULsMessage) action->setEnabled(list.CountMRUFs() > 0);
}

void TKivoBasicWindow::AddHistoryRqtd(platform::Message* message)
{
    platform::EntryRef ref;
    if (message->FindRef("MRUF", &ref) != platform::kOk || ref.path.empty()) return;
    mRecentLists.Add(ref.path);
    GenerateMenuMRUF();
}

void TKivoBasicWindow::RemoveHistoryRqtd(platform::Message* message)
{
    platform::EntryRef ref;
    if (message->FindRef("MRUF", &ref) != platform::kOk) return;
    mRecentLists.Remove(ref.path);
    GenerateMenuMRUF();
}

void TKivoBasicWindow::MItemDelAllMRULsClicked(platform::Message*)
{
    static const bool registered = (platform::add_catalogue_texts(kPanelTexts), true);
    (void)registered;
    TListQuestion question;
    question.Text = platform::get_string("@Ask_Del_All_MRULs@") + "\n\n" + platform::get_string("@Hint_Del_One_MRUL@");
    question.Buttons = {{platform::get_string("Cancel"), 0}, {platform::get_string("Delete All"), 'A'}};
    question.EscapeIndex = 0;
    if (mBasicView->Asker().Ask(question) != 1) return;
    // Written at once, so the entries do not come back at the next start.
    mRecentLists.ClearAll();
    GenerateMenuMRUF();
}

// --- the open panel ---

void TKivoBasicWindow::CreateOpenPanel()
{
    mOpenPanel = new QFileDialog(this);
    mOpenPanel->setObjectName(QStringLiteral("OpenPanel"));
    mOpenPanel->setOption(QFileDialog::DontUseNativeDialog);
    mOpenPanel->setAcceptMode(QFileDialog::AcceptOpen);
    mOpenPanel->setFileMode(QFileDialog::ExistingFile);
    mEncodingMenu = new QComboBox(mOpenPanel);
    mEncodingMenu->setObjectName(QStringLiteral("Encoding"));
    for (const char* label : kEncodingLabels) {
        if (label)
            mEncodingMenu->addItem(QString());
        else
            mEncodingMenu->insertSeparator(mEncodingMenu->count());
    }
    mInsertCheckBox = new QCheckBox(mOpenPanel);
    mInsertCheckBox->setObjectName(QStringLiteral("CBoxAdd"));
    if (auto* grid = qobject_cast<QGridLayout*>(mOpenPanel->layout())) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(mOpenPanel), row, 0);
        grid->addWidget(mEncodingMenu, row, 1);
        grid->addWidget(mInsertCheckBox, row + 1, 1);
    }
    QObject::connect(mOpenPanel, &QFileDialog::fileSelected, this, [this](const QString& file) {
        platform::Message request(kRefsReceivedMessage);
        request.AddRef("refs", platform::EntryRef{file.toStdString()});
        request.AddInt32("Encoding", mEncodingMenu->currentIndex());
        request.AddBool("Add", mInsertCheckBox->isChecked());
        PostMessage(request);
    });
    QObject::connect(mOpenPanel, &QDialog::finished, this, [this] {
        platform::Message closed(kPanelCancelMessage);
        closed.AddInt32("source", kOpenPanelSource);
        PostMessage(closed);
    });
    give_keys_back_when_panel_closes(mOpenPanel);
    mOpenPanel->setDirectory(
        QString::fromStdString(mSavePanel ? mSavePanel->directory().absolutePath().toStdString()
                                          : panel_folder_or_home(gExitStates.MainPanelFolder, home_folder())));
    SetFilePanelLabel();
    SetDefaultEncoding();
    mInsertCheckBox->setChecked(false);
}

void TKivoBasicWindow::MItemOpenClicked(platform::Message*)
{
    if (!mOpenPanel) CreateOpenPanel();
    mOpenPanel->show();
    mOpenPanel->raise();
}

void TKivoBasicWindow::SetDefaultEncoding()
{
    if (!mEncodingMenu) return;
    const int32_t index = gPrefs.DefaultEncoding.load();
    if (index >= 0 && index < mEncodingMenu->count() && kEncodingLabels[index] != nullptr)
        mEncodingMenu->setCurrentIndex(index);
}

void TKivoBasicWindow::PrefDefaultEncodingChanged(platform::Message*)
{
    SetDefaultEncoding();
}

// --- the save panel ---

void TKivoBasicWindow::CreateSavePanel()
{
    mSavePanel = new QFileDialog(this);
    mSavePanel->setObjectName(QStringLiteral("SavePanel"));
    mSavePanel->setOption(QFileDialog::DontUseNativeDialog);
    // The editor asks itself, once the name has its extension.
    mSavePanel->setOption(QFileDialog::DontConfirmOverwrite);
    mSavePanel->setAcceptMode(QFileDialog::AcceptSave);
    mSavePanel->setFileMode(QFileDialog::AnyFile);
    QObject::connect(mSavePanel, &QFileDialog::fileSelected, this, [this](const QString& file) {
        const std::string path = file.toStdString();
        const size_t slash = path.rfind('/');
        platform::Message request = mSavePanelMessage;
        request.AddRef("directory", platform::EntryRef{slash == 0 ? "/" : path.substr(0, slash)});
        request.AddString("name", path.substr(slash + 1));
        PostMessage(request);
    });
    QObject::connect(mSavePanel, &QDialog::finished, this, [this] {
        platform::Message closed(kPanelCancelMessage);
        closed.AddInt32("source", kSavePanelSource);
        PostMessage(closed);
    });
    give_keys_back_when_panel_closes(mSavePanel);
    SetFilePanelLabel();
}

void TKivoBasicWindow::MItemSaveAsClicked(platform::Message* message)
{
    if (!mSavePanel) CreateSavePanel();
    // Only this request's continuation travels with the panel's answer.
    mSavePanelMessage = platform::Message(kSaveRequestedMessage);
    add_next_msg(&mSavePanelMessage, *message);
    // Where the list is, with its name; a new list where the last one was saved.
    const TListDocument& list = mBasicView->Document();
    const TSaveAsStart start = save_as_start(list.FilePath(), list.LoadedConversion(),
                                             mBasicView->LastSavedFolder().empty() ? gExitStates.MainPanelFolder
                                                                                   : mBasicView->LastSavedFolder(),
                                             home_folder());
    mSavePanel->setDirectory(QString::fromStdString(start.Folder));
    if (!start.Name.empty()) {
        mSavePanel->selectFile(QString::fromStdString(start.Name));
    } else {
        // selectFile ignores an empty name: the file chosen last in this folder would
        // stay chosen, and its name in the field.
        for (const char* files : {"listView", "treeView"})
            if (auto* view = mSavePanel->findChild<QAbstractItemView*>(QLatin1String(files));
                view && view->selectionModel())
                view->selectionModel()->clearSelection();
        if (auto* nameField = mSavePanel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) nameField->clear();
    }

    mSavePanel->show();
    mSavePanel->raise();
}

// --- both panels ---

void TKivoBasicWindow::PanelClosed(platform::Message* message)
{
    int32_t source = -1;
    if (message->FindInt32("source", &source) != platform::kOk) return;
    QFileDialog* from = source == kOpenPanelSource ? mOpenPanel : mSavePanel;
    QFileDialog* to = source == kOpenPanelSource ? mSavePanel : mOpenPanel;
    if (from && to) to->setDirectory(from->directory());
}

void TKivoBasicWindow::SetFilePanelLabel()
{
    if (mOpenPanel) {
        mOpenPanel->setWindowTitle(title_of("%AppName%: Open Program List"));
        for (int i = 0; i < mEncodingMenu->count(); ++i)
            if (kEncodingLabels[i])
                mEncodingMenu->setItemText(i, QString::fromStdString(platform::get_string(kEncodingLabels[i])));
        mInsertCheckBox->setText(QString::fromStdString(platform::get_string("Insert to current position")));
        if (auto* grid = qobject_cast<QGridLayout*>(mOpenPanel->layout()))
            if (auto* label = qobject_cast<QLabel*>(grid->itemAtPosition(grid->rowCount() - 2, 0)
                                                        ? grid->itemAtPosition(grid->rowCount() - 2, 0)->widget()
                                                        : nullptr))
                label->setText(QString::fromStdString(platform::get_string("Encoding")));
    }
    if (mSavePanel) mSavePanel->setWindowTitle(title_of("%AppName%: Save Program List"));
}

void TKivoBasicWindow::StorePanelFolder()
{
    // The save panel's folder wins when both panels were used.
    if (QFileDialog* panel = mSavePanel ? mSavePanel : mOpenPanel)
        gExitStates.MainPanelFolder = panel->directory().absolutePath().toStdString();
}
