// Whole runs of hand-built programs that write files and read them back with
// INPUT #, LINE INPUT #, EOF and CLOSE, as the compiler lays out their codes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language/VarInfo.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "tests/machine/files/FilesTestSupport.h"
#include "tests/machine/vm/ProgramFixture.h"

namespace {

enum : int32_t { FOR_INPUT = 10, FOR_OUTPUT = 11, FOR_APPEND = 12, NO_FOR = 13 };

class FilesProgram : public ProgramFixture {
protected:
    void SetUp() override
    {
        ProgramFixture::SetUp();
        rsrc.DrvFolders.Set(0, tree.Drive);
    }
    void TearDown() override
    {
        rsrc.CloseAllFiles();
        ProgramFixture::TearDown();
    }

    // OPEN name FOR mode AS #n
    static void Open(TProgram& p, const std::string& name, int32_t mode, int32_t n)
    {
        p.code.Text(name).Int(n).Add(MakeCode(vcOpen, mode));
    }
    // PRINT #n or WRITE #n of items; a null item stands for a comma.
    static void ToFile(TProgram& p, TVMCodeCmd cmd, int32_t n, std::initializer_list<const char*> items,
                       bool end = true)
    {
        for (const char* item : items) {
            p.code.Int(n);
            if (item == nullptr)
                p.code.Comma();
            else if (item[0] == '#')
                p.code.Int(std::stoi(item + 1));
            else
                p.code.Text(item);
            p.code.Add(MakeCode(cmd, false));
        }
        if (end) p.code.Int(n).Add(MakeCode(cmd, true));
    }
    // INPUT #n, vars
    static void InputFrom(TProgram& p, int32_t n, std::initializer_list<TVarInfo*> vars)
    {
        p.code.Int(n);
        for (TVarInfo* v : vars) p.Ref(v);
        p.code.Add(MakeCode(vcInputSh, static_cast<int32_t>(vars.size())));
    }
    static void LineInputFrom(TProgram& p, int32_t n, TVarInfo* v)
    {
        p.code.Int(n);
        p.Ref(v);
        p.code.Add(MakeCode(vcLineInputSh));
    }
    static void Close(TProgram& p, std::initializer_list<int32_t> numbers)
    {
        for (int32_t n : numbers) p.code.Int(n);
        p.code.Add(MakeCode(vcClose, static_cast<int32_t>(numbers.size())));
    }

    TTempDriveTree tree;
};

TEST_F(FilesProgram, WriteThenReadBack)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A$", tkString);
    TVarInfo* b = p.Var("B%", tkInt);
    TVarInfo* l = p.Var("L$", tkString);
    TVarInfo* c = p.Var("C$", tkString);
    TVarInfo* d = p.Var("D#", tkDouble);
    TVarInfo* e = p.Var("E%", tkInt);
    p.code.Line(10);
    Open(p, "1:T.TXT", FOR_OUTPUT, 1);
    ToFile(p, vcPrintSh, 1, {"HELLO", nullptr, "#12"});  // HELLO, blank, " 12 ", CR LF
    ToFile(p, vcWriteSh, 1, {"A,B", nullptr, "#3"});     // "A,B",3 CR LF
    Close(p, {1});
    Open(p, "T.TXT", FOR_APPEND, 2);
    ToFile(p, vcPrintSh, 2, {"  last line, with comma"});
    Close(p, {});
    Open(p, "1:T.TXT", FOR_INPUT, 1);
    InputFrom(p, 1, {a, b});
    LineInputFrom(p, 1, l);  // the rest of the first line: empty
    InputFrom(p, 1, {c, d});
    LineInputFrom(p, 1, l);
    p.Ref(e);  // E% = EOF(1)
    p.code.Int(1).Op(vcEof).Op(vcBAssignArray);
    ASSERT_EQ(p.Run(), 0) << p.error;

    EXPECT_EQ(TTempDriveTree::ReadFile(tree.InDrive("T.TXT")),
              "HELLO  12 \r\n\"A,B\",3\r\n  last line, with comma\r\n");
    EXPECT_EQ(a->StringValues()[0], "HELLO");
    EXPECT_EQ(b->IntValues()[0], 12);
    EXPECT_EQ(c->StringValues()[0], "A,B");
    EXPECT_EQ(d->DoubleValues()[0], 3.0);
    EXPECT_EQ(l->StringValues()[0], "last line, with comma");
    EXPECT_EQ(e->IntValues()[0], -1);
    // Files stay open after the run until the next run starts.
    EXPECT_TRUE(rsrc.OpenFiles[0].IsOpen());
}

// A statement reads a little of the file first and more with each read after: lines
// that end just before, across and past the first read, and a line of several reads,
// come back whole, each from where the one before ended.
TEST_F(FilesProgram, LinesAcrossTheReadsComeBackWhole)
{
    const std::vector<std::string> lines = {std::string(510, 'A'), std::string(511, 'B'), std::string(512, 'C'),
                                            std::string(5000, 'D'), "end"};
    std::string file;
    for (const std::string& line : lines) file += line + "\r\n";
    file.resize(file.size() - 2);  // the last line has no line end
    TTempDriveTree::WriteFile(tree.InDrive("LINES.TXT"), file);
    TProgram p(rsrc);
    std::vector<TVarInfo*> vars;
    for (size_t i = 0; i < lines.size(); ++i) vars.push_back(p.Var("L" + std::to_string(i) + "$", tkString));
    TVarInfo* e = p.Var("E%", tkInt);
    p.code.Line(10);
    Open(p, "LINES.TXT", FOR_INPUT, 1);
    for (TVarInfo* v : vars) LineInputFrom(p, 1, v);
    p.Ref(e);  // E% = EOF(1)
    p.code.Int(1).Op(vcEof).Op(vcBAssignArray);
    ASSERT_EQ(p.Run(), 0) << p.error;

    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(vars[i]->StringValues()[0], lines[i]) << "line " << i;
    EXPECT_EQ(e->IntValues()[0], -1);
}

TEST_F(FilesProgram, InputPastTheEndChangesNoVariable)
{
    TTempDriveTree::WriteFile(tree.InDrive("ONE.TXT"), "7\r\n");
    TProgram p(rsrc);
    TVarInfo* x = p.Var("X%", tkInt);
    TVarInfo* y = p.Var("Y%", tkInt);
    p.code.Line(10);
    Open(p, "ONE.TXT", FOR_INPUT, 3);
    p.code.Line(20);
    InputFrom(p, 3, {x, y});
    ASSERT_NE(p.Run(), 0);
    EXPECT_TRUE(p.EndedWith(RTE_INPUT_PAST_END)) << p.error;
    EXPECT_EQ(p.error, std::string(RTE_INPUT_PAST_END) + " in 20");
    EXPECT_EQ(x->IntValues()[0], 0);
    EXPECT_EQ(y->IntValues()[0], 0);
}

TEST_F(FilesProgram, InputFromClosedAndBadNumbers)
{
    struct Case {
        int32_t n;
        const char* key;
    };
    for (const Case& c : {Case{2, RTE_FILE_NOT_OPEN}, Case{16, RTE_BAD_FILE_NUMBER}, Case{0, RTE_BAD_FILE_NUMBER}}) {
        TProgram p(rsrc);
        TVarInfo* x = p.Var("X$", tkString);
        p.code.Line(10);
        LineInputFrom(p, c.n, x);
        ASSERT_NE(p.Run(), 0);
        EXPECT_TRUE(p.EndedWith(c.key)) << c.n << ": " << p.error;
    }
}

TEST_F(FilesProgram, ALaterRunFindsItsFilesClosed)
{
    TProgram first(rsrc);
    first.code.Line(10);
    Open(first, "KEEP.TXT", FOR_OUTPUT, 1);
    ASSERT_EQ(first.Run(), 0) << first.error;
    ASSERT_TRUE(rsrc.OpenFiles[0].IsOpen());
    // The same OPEN again in a new run is no "already open".
    TProgram second(rsrc);
    second.code.Line(10);
    Open(second, "KEEP.TXT", FOR_OUTPUT, 1);
    EXPECT_EQ(second.Run(), 0) << second.error;
}

}  // namespace
