#include "document/ListText.h"

#include <algorithm>

TListText::~TListText() = default;

void TPlainListText::ReplaceAll(const std::string& text)
{
    mText = text;
    mCaret = std::min(mCaret, mText.size());
}

void TPlainListText::InsertAtCaret(const std::string& text)
{
    mCaret = std::min(mCaret, mText.size());
    mText.insert(mCaret, text);
    mModified = true;
}

void TPlainListText::Append(const std::string& text)
{
    mText += text;
    mModified = true;
}
