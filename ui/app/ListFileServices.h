#pragma once
// What the editor view's list files work with on the GUI side: the editor's text
// as a TListText, the alerts as a TListAsker, and the keys held while a request is
// handled.

#include <string>

#include "document/ListQuestions.h"
#include "document/ListText.h"
#include "session/OpenRequest.h"

class TEditTxtView;

class TEditorListText : public TListText {
public:
    explicit TEditorListText(TEditTxtView* view) : mView(view) {}

    std::string Text() const override;
    void ReplaceAll(const std::string& text) override;
    void InsertAtCaret(const std::string& text) override;
    void Append(const std::string& text) override;
    bool IsModified() const override;
    void SetModified(bool modified) override;

private:
    TEditTxtView* mView;
};

// Modal alerts titled "* %AppName% *", the buttons' letters merged in the
// "AccKeyFormat2" format. Tests put a scripted asker in front (SetOverride).
class TAlertListAsker : public TListAsker {
public:
    int32_t Ask(const TListQuestion& question) override;
    void ShowError(const std::string& text) override;

    void SetOverride(TListAsker* asker) { mOverride = asker; }

private:
    TListAsker* mOverride = nullptr;
};

// Ctrl stands for the Parts' Control key and Alt for their Option key. A recent list
// chosen by its own shortcut (Ctrl+Shift+digit) holds Ctrl too: with Shift held the
// keys count as the shortcut's, not as the request to delete the entry.
TOpenKeys held_keys_for_open();

#include <QObject>
#include <functional>

#include "platform/Message.h"

// Turns a file dropped on the editor from another application into the drop message
// 'DATA' with "refs" and "FromOutside", handed to `post`; a drag from inside the
// application, or of no file, is left to the text view.
class TListDropFilter : public QObject {
public:
    TListDropFilter(QObject* parent, std::function<void(const platform::Message&)> post)
        : QObject(parent), mPost(std::move(post))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const platform::Message&)> mPost;
};
