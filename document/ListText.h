#pragma once
// The editor's text as the list files see it: the whole UTF-8 text, the three ways
// a read puts text into it, and its modified mark. The editor view implements it
// over its text widget; TPlainListText keeps the text in a string.

#include <string>

class TListText {
public:
    virtual ~TListText();

    virtual std::string Text() const = 0;
    // Replaces the whole text; the caller sets the modified mark afterwards.
    virtual void ReplaceAll(const std::string& text) = 0;
    // Inserts at the insertion point (with a selection, at its start, which stays
    // selected) and marks the text modified.
    virtual void InsertAtCaret(const std::string& text) = 0;
    // Puts `text` after the last byte and marks the text modified.
    virtual void Append(const std::string& text) = 0;
    virtual bool IsModified() const = 0;
    virtual void SetModified(bool modified) = 0;
};

// The text in a string, with the insertion point as a byte offset.
class TPlainListText : public TListText {
public:
    explicit TPlainListText(std::string text = {}) : mText(std::move(text)) {}

    std::string Text() const override { return mText; }
    void ReplaceAll(const std::string& text) override;
    void InsertAtCaret(const std::string& text) override;
    void Append(const std::string& text) override;
    bool IsModified() const override { return mModified; }
    void SetModified(bool modified) override { mModified = modified; }

    // Clamped to the text's length.
    void SetCaret(size_t offset) { mCaret = offset; }

private:
    std::string mText;
    size_t mCaret = 0;
    bool mModified = false;
};
