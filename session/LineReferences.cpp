#include "session/LineReferences.h"

#include <map>
#include <string>

#include "foundation/DecimalText.h"
#include "language/KeywordRows.h"

namespace {

// What a keyword means for the line numbers that follow it.
enum class TRole {
    None,
    JumpList,        // one target or a list of them, empty slots allowed
    OptionalTarget,  // at most one target
    Run,             // at most one target, or a file name
    Branch,          // THEN, ELSE: a number right after it is a jump
    NotATarget,      // NEXT of RESUME NEXT
    Comment,         // the rest of the line is text
    SkipStatement,   // the operands are no line numbers of this list
    StatementEnd,    // AS ends an expression list as THEN and ELSE do
};

struct TStatementRoleRow {
    TVMCodeCmd Code;
    TRole Role;
};

const TStatementRoleRow kStatementRoles[] = {
    {vcGoto, TRole::JumpList},         {vcGosub, TRole::JumpList},
    {vcReturn, TRole::OptionalTarget}, {vcRestore, TRole::OptionalTarget},
    {vcResume, TRole::OptionalTarget}, {vcRun, TRole::Run},
    {vcRem, TRole::Comment},           {vcData, TRole::SkipStatement},
    {vcChain, TRole::SkipStatement},
};

struct TControlRoleRow {
    TTokenKind Kind;
    TRole Role;
};

const TControlRoleRow kControlRoles[] = {
    {tkThen, TRole::Branch},
    {tkElse, TRole::Branch},
    {tkNext, TRole::NotATarget},
    {tkAs, TRole::StatementEnd},
};

// Keyword -> role, from the compiler's own keyword rows.
const std::map<std::string, TRole>& keyword_roles()
{
    static const std::map<std::string, TRole> roles = [] {
        std::map<std::string, TRole> map;
        for (const TKeywordCodeRow& row : ProcKeywordRows())
            for (const TStatementRoleRow& role : kStatementRoles)
                if (row.Code == role.Code) map[row.Key] = role.Role;
        for (const TKeywordKindRow& row : CtrlKeywordRows())
            for (const TControlRoleRow& role : kControlRoles)
                if (row.Kind == role.Kind) map[row.Key] = role.Role;
        return map;
    }();
    return roles;
}

enum class TPiece { Word, Number, String, Colon, Comma, Star, LeftParen, RightParen, Other, End };

struct TLexeme {
    TPiece Piece = TPiece::End;
    size_t Offset = 0;
    size_t Length = 0;
    std::string Word;  // upper case, for words
};

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}
bool is_letter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}
bool is_hex_digit(char c)
{
    return is_digit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
bool is_ident_char(char c)
{
    return is_letter(c) || is_digit(c) || c == '_' || c == '.' || c == '@' || c == '%' || c == '!' || c == '#' ||
           c == '$';
}
bool is_number_char(char c)
{
    return is_digit(c) || c == '.' || c == '%' || c == '!' || c == '#';
}
char to_upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Splits a line into lexemes by the compiler tokenizer's rules; a ' comment and the
// end of the line both read as the end.
class TLineLexer {
public:
    explicit TLineLexer(std::string_view text) : mText(text) {}

    TLexeme Next()
    {
        while (mPos < mText.size() && is_blank(mText[mPos])) ++mPos;
        TLexeme lexeme;
        lexeme.Offset = mPos;
        const char c = At(0);
        if (c == '\0' || c == '\n' || c == '\'') {
            mPos = mText.size();
            lexeme.Piece = TPiece::End;
            return lexeme;
        }
        if (is_letter(c) || c == '_') {
            ReadWord(lexeme);
        } else if (is_digit(c) || c == '.') {
            lexeme.Piece = TPiece::Number;
            while (is_number_char(At(0))) ++mPos;
        } else if (c == '"') {
            lexeme.Piece = TPiece::String;
            ++mPos;
            while (At(0) != '"' && At(0) != '\n' && At(0) != '\0') ++mPos;
            if (At(0) == '"') ++mPos;
        } else {
            ReadMark(lexeme);
        }
        lexeme.Length = mPos - lexeme.Offset;
        return lexeme;
    }

private:
    char At(size_t ahead) const { return mPos + ahead < mText.size() ? mText[mPos + ahead] : '\0'; }

    void ReadWord(TLexeme& lexeme)
    {
        lexeme.Piece = TPiece::Word;
        while (is_ident_char(At(0))) lexeme.Word.push_back(to_upper(mText[mPos++]));
        // "GO TO" with one blank is one keyword; so is "FN name" one name.
        if (lexeme.Word == "GO" && At(0) == ' ' && to_upper(At(1)) == 'T' && to_upper(At(2)) == 'O') {
            lexeme.Word = "GO TO";
            mPos += 3;
        } else if (lexeme.Word == "FN" && At(0) == ' ') {
            lexeme.Word.push_back(' ');
            ++mPos;
            while (is_ident_char(At(0))) lexeme.Word.push_back(to_upper(mText[mPos++]));
        }
    }

    void ReadMark(TLexeme& lexeme)
    {
        const char c = mText[mPos++];
        switch (c) {
        case ':': lexeme.Piece = TPiece::Colon; return;
        case ',': lexeme.Piece = TPiece::Comma; return;
        case '*': lexeme.Piece = TPiece::Star; return;
        case '(': lexeme.Piece = TPiece::LeftParen; return;
        case ')': lexeme.Piece = TPiece::RightParen; return;
        default: break;
        }
        lexeme.Piece = TPiece::Other;
        // &H1F, &O17, &17 and #1 hold digits that are no line numbers.
        if (c == '&') {
            if (to_upper(At(0)) == 'H') {
                ++mPos;
                while (is_hex_digit(At(0))) ++mPos;
            } else {
                if (to_upper(At(0)) == 'O') ++mPos;
                while (is_digit(At(0))) ++mPos;
            }
        } else if (c == '#') {
            while (is_digit(At(0)) || At(0) == '.') ++mPos;
        }
    }

    std::string_view mText;
    size_t mPos = 0;
};

TRole role_of(const TLexeme& lexeme)
{
    if (lexeme.Piece != TPiece::Word) return TRole::None;
    const auto& roles = keyword_roles();
    const auto found = roles.find(lexeme.Word);
    return found == roles.end() ? TRole::None : found->second;
}

// The tokens that end a statement's expression list, as the compiler's
// IsMultiExprEndToken: colon, THEN, ELSE, AS and the end of the line.
bool ends_statement(const TLexeme& lexeme)
{
    if (lexeme.Piece == TPiece::End || lexeme.Piece == TPiece::Colon) return true;
    const TRole role = role_of(lexeme);
    return role == TRole::Branch || role == TRole::StatementEnd;
}

bool ends_target(const TLexeme& lexeme)
{
    return ends_statement(lexeme) || lexeme.Piece == TPiece::Comma;
}

class TReferenceReader {
public:
    explicit TReferenceReader(std::string_view text) : mText(text), mLexer(text) {}

    TLineReferences Read()
    {
        TLexeme lexeme = mLexer.Next();
        while (lexeme.Piece != TPiece::End) {
            switch (role_of(lexeme)) {
            case TRole::Comment: return mFound;
            case TRole::SkipStatement: lexeme = SkipStatement(mLexer.Next()); break;
            case TRole::JumpList: lexeme = ReadTargetList(); break;
            case TRole::OptionalTarget:
            case TRole::Run: lexeme = ReadOptionalTarget(role_of(lexeme) == TRole::Run); break;
            case TRole::Branch: {
                lexeme = mLexer.Next();
                if (lexeme.Piece == TPiece::Number || lexeme.Piece == TPiece::Star) lexeme = ReadTarget(lexeme);
                break;
            }
            default: lexeme = mLexer.Next(); break;
            }
        }
        return mFound;
    }

private:
    TLexeme SkipStatement(TLexeme lexeme)
    {
        while (!ends_statement(lexeme)) lexeme = mLexer.Next();
        return lexeme;
    }

    // Passes over an expression up to the comma or statement end that closes it.
    TLexeme SkipExpression(TLexeme lexeme)
    {
        int depth = 0;
        while (lexeme.Piece != TPiece::End && (depth > 0 || !ends_target(lexeme))) {
            if (lexeme.Piece == TPiece::LeftParen) ++depth;
            if (lexeme.Piece == TPiece::RightParen && depth > 0) --depth;
            lexeme = mLexer.Next();
        }
        return lexeme;
    }

    // One target from its first lexeme; returns the lexeme after it.
    TLexeme ReadTarget(const TLexeme& first)
    {
        if (first.Piece == TPiece::Star) {
            mLexer.Next();  // the label's name
            return mLexer.Next();
        }
        if (first.Piece == TPiece::Number) {
            const std::string_view digits = mText.substr(first.Offset, first.Length);
            const bool plain = digits.find_first_not_of("0123456789") == std::string_view::npos;
            const TLexeme after = mLexer.Next();
            if (plain && ends_target(after)) {
                mFound.Literal.push_back({first.Offset, first.Length, leading_decimal_integer(digits)});
                return after;
            }
            mFound.Computed = true;
            return SkipExpression(after);
        }
        mFound.Computed = true;
        return SkipExpression(first);
    }

    TLexeme ReadTargetList()
    {
        TLexeme lexeme = mLexer.Next();
        while (!ends_statement(lexeme)) {
            if (lexeme.Piece == TPiece::Comma)
                lexeme = mLexer.Next();
            else
                lexeme = ReadTarget(lexeme);
        }
        return lexeme;
    }

    TLexeme ReadOptionalTarget(bool run)
    {
        const TLexeme lexeme = mLexer.Next();
        if (ends_statement(lexeme) || role_of(lexeme) == TRole::NotATarget) return lexeme;
        // RUN "file" and RUN F$ name a list file.
        const bool fileName =
            lexeme.Piece == TPiece::String || (lexeme.Piece == TPiece::Word && lexeme.Word.back() == '$');
        if (run && fileName) return SkipStatement(lexeme);
        return ReadTarget(lexeme);
    }

    std::string_view mText;
    TLineLexer mLexer;
    TLineReferences mFound;
};

}  // namespace

TLineReferences find_line_references(std::string_view statements)
{
    return TReferenceReader(statements).Read();
}
