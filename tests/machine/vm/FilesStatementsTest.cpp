// The machine's file statements, driven by hand-built codes: OPEN, CLOSE, EOF,
// PRINT #, WRITE #, the readers of INPUT #, LINE INPUT # and INPUT$, FILES, and the
// host paths of RUN and CHAIN.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "machine/vm/RuntimeErrorKeys.h"
#include "platform/Locale.h"
#include "tests/machine/files/FilesTestSupport.h"
#include "tests/machine/vm/MachineTestSupport.h"

namespace {

using S = TStackData;

enum : int32_t { FOR_INPUT = 10, FOR_OUTPUT = 11, FOR_APPEND = 12, NO_FOR = 13 };

class TFileMachine : public TTestMachine {
public:
    using TTestMachine::TTestMachine;
    using TVMachine::AppendReadText;
    using TVMachine::FullPathFName;
    using TVMachine::InputDlFromFile;
    using TVMachine::InputDlFromFileForm;
    using TVMachine::InputFromFile;
    using TVMachine::ReadFileItems;
    using TVMachine::RuntimeCompatiMode;
    using TVMachine::TReadDropped;
};

class TStoppedClock : public THostClock {
public:
    int64_t NowMicros() const override { return 0; }
    void SleepMicros(int64_t) const override {}
};

class FileStatements : public ::testing::Test {
protected:
    FileStatements() : machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr)
    {
        TCodeBuilder(mid).Finish();
        host.Screen = &updates;
        host.Lamps = &lamps;
        rsrc.SetOwner(host);
        rsrc.DrvLamps.SetClock(&clock);
        rsrc.DrvFolders.Set(0, tree.Drive);
        std::filesystem::create_directory(tree.Root + "/drive2");
        rsrc.DrvFolders.Set(1, tree.Root + "/drive2");
    }
    void SetUp() override { platform::use_key_identity_catalogue(true); }
    void TearDown() override
    {
        platform::use_key_identity_catalogue(false);
        rsrc.CloseAllFiles();
    }

    void Run(const TVMCode& code, std::initializer_list<TStackData> operands)
    {
        machine.ValueStack.clear();
        for (const TStackData& s : operands) machine.Push(s);
        machine.Run(code);
    }
    // Runs a code that must fail with `key`; the error text names it.
    void ExpectError(const TVMCode& code, std::initializer_list<TStackData> operands, const char* key)
    {
        try {
            Run(code, operands);
            ADD_FAILURE() << "no error, expected " << key;
        } catch (const TException&) {
            EXPECT_EQ(machine.ErrorText(), std::string(key));
        }
    }
    void Open(const std::string& name, int32_t n, int32_t mode)
    {
        Run(MakeCode(vcOpen, mode), {S::OwnedText(name), S::Long(n)});
    }
    void Print(int32_t n, const TStackData& item) { Run(MakeCode(vcPrintSh, false), {S::Long(n), item}); }
    void PrintEnd(int32_t n) { Run(MakeCode(vcPrintSh, true), {S::Long(n)}); }
    void Write(int32_t n, const TStackData& item) { Run(MakeCode(vcWriteSh, false), {S::Long(n), item}); }
    void WriteEnd(int32_t n) { Run(MakeCode(vcWriteSh, true), {S::Long(n)}); }
    int32_t Eof(int32_t n)
    {
        Run(MakeCode(vcEof), {S::Long(n)});
        return machine.StackInt(machine.Pop());
    }
    std::string Content(const std::string& name) const { return TTempDriveTree::ReadFile(tree.InDrive(name)); }
    std::vector<std::string> Items(int32_t n, long wanted, bool lineMode = false)
    {
        std::vector<std::string> items{"stale"};
        machine.InputFromFile(n, wanted, items, lineMode);
        return items;
    }

    TTempDriveTree tree;
    THeadlessScreenUpdates updates;
    THeadlessDriveLamps lamps;
    TStoppedClock clock;
    TDeviceHost host;
    TMidCode mid;
    TBasicRsrc rsrc;
    TFileMachine machine;
};

TEST_F(FileStatements, OpenModes)
{
    TTempDriveTree::WriteFile(tree.InDrive("OLD.TXT"), "old\r\n");

    // FOR OUTPUT creates or empties.
    Open("NEW.TXT", 1, FOR_OUTPUT);
    EXPECT_TRUE(std::filesystem::exists(tree.InDrive("NEW.TXT")));
    EXPECT_EQ(Eof(1), -1);
    Open("OLD.TXT", 2, FOR_OUTPUT);
    EXPECT_EQ(Content("OLD.TXT"), "");
    Run(MakeCode(vcClose, 0), {});

    // FOR INPUT and FOR APPEND keep the content and need the file.
    TTempDriveTree::WriteFile(tree.InDrive("OLD.TXT"), "old\r\n");
    Open("OLD.TXT", 1, FOR_INPUT);
    EXPECT_EQ(Eof(1), 0);
    Run(MakeCode(vcClose, 1), {S::Long(1)});
    Open("OLD.TXT", 2, FOR_APPEND);
    Print(2, S::BorrowedText("more"));
    PrintEnd(2);
    EXPECT_EQ(Content("OLD.TXT"), "old\r\nmore\r\n");
    ExpectError(MakeCode(vcOpen, FOR_INPUT), {S::BorrowedText("MISSING"), S::Long(3)}, RTE_FILE_NOT_FOUND);
    ExpectError(MakeCode(vcOpen, FOR_APPEND), {S::BorrowedText("MISSING"), S::Long(3)}, RTE_FILE_NOT_FOUND);
    EXPECT_FALSE(std::filesystem::exists(tree.InDrive("MISSING")));
    EXPECT_FALSE(rsrc.OpenFiles[2].IsOpen());

    // Without FOR: created when missing, kept when there, written from the start.
    Run(MakeCode(vcClose, 1), {S::Long(2)});
    Open("OLD.TXT", 3, NO_FOR);
    Print(3, S::BorrowedText("N"));
    EXPECT_EQ(Content("OLD.TXT"), "Nld\r\nmore\r\n");
    Open("NOFOR.TXT", 4, NO_FOR);
    EXPECT_TRUE(std::filesystem::exists(tree.InDrive("NOFOR.TXT")));

    // Drive 2 and a sub-folder of drive 1; the slot remembers its drive.
    Open("2:D2.TXT", 5, FOR_OUTPUT);
    EXPECT_TRUE(std::filesystem::exists(tree.Root + "/drive2/D2.TXT"));
    EXPECT_EQ(rsrc.OpenFiles[4].DrvIdx(), 1);
    std::filesystem::create_directory(tree.InDrive("SUB"));
    Open("1:SUB/A:B", 6, FOR_OUTPUT);
    EXPECT_TRUE(std::filesystem::exists(tree.InDrive("SUB/A:B")));
    EXPECT_EQ(rsrc.OpenFiles[5].DrvIdx(), 0);
    EXPECT_GE(lamps.Lamp(0), 1);
    EXPECT_GE(lamps.Lamp(1), 1);
}

TEST_F(FileStatements, OpenErrorsInTheirOrder)
{
    Open("A", 1, FOR_OUTPUT);
    struct Case {
        const char* name;
        int32_t n;
        const char* key;
    };
    const Case cases[] = {
        {"", 16, RTE_FILE_NOT_FOUND},  // the name first
        {"B", 16, RTE_BAD_FILE_NUMBER},    {"B", 0, RTE_BAD_FILE_NUMBER},
        {"0:B", 1, RTE_FILE_ALREADY_OPEN},  // the slot before the drive
        {"0:B", 2, RTE_BAD_DRIVE_NUMBER},  {"15:B", 2, RTE_BAD_DRIVE_NUMBER},
        {":B", 2, RTE_BAD_DRIVE_NUMBER},   {"3:B", 2, RTE_DISK_OFFLINE},
        {"14:B", 2, RTE_DISK_OFFLINE},     {"1:", 2, RTE_CANNOT_OPEN_FILE},  // the drive folder itself
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectError(MakeCode(vcOpen, FOR_OUTPUT), {S::BorrowedText(c.name), S::Long(c.n)}, c.key);
        EXPECT_FALSE(rsrc.OpenFiles[1].IsOpen());
        EXPECT_TRUE(machine.ValueStack.empty());
    }
}

TEST_F(FileStatements, OpenNeverLeavesTheDriveFolder)
{
    ASSERT_EQ(::symlink("../outside.txt", tree.InDrive("LINK").c_str()), 0);
    ASSERT_EQ(::symlink(tree.Root.c_str(), tree.InDrive("UP").c_str()), 0);
    ASSERT_EQ(::mkfifo(tree.InDrive("FIFO").c_str(), 0600), 0);
    const auto before = tree.Snapshot();
    const std::string names[] = {
        "1:../outside.txt",
        "../outside.txt",
        "1:../created.txt",
        "1:" + tree.Root + "/outside.txt",
        tree.Root + "/created.txt",
        "LINK",
        "UP/outside.txt",
        "UP/created.txt",
        "FIFO",
        "2:../drive/x",
    };
    for (int32_t mode : {FOR_INPUT, FOR_OUTPUT, FOR_APPEND, NO_FOR}) {
        for (const std::string& name : names) {
            SCOPED_TRACE(name + " mode " + std::to_string(mode));
            ExpectError(MakeCode(vcOpen, mode), {S::OwnedText(name), S::Long(1)}, RTE_CANNOT_OPEN_FILE);
            EXPECT_FALSE(rsrc.OpenFiles[0].IsOpen());
        }
    }
    EXPECT_EQ(tree.Snapshot(), before);
    EXPECT_FALSE(std::filesystem::exists(tree.Root + "/drive2/x"));
}

// A hard link in the drive folder may share its file with a name outside: such a
// file is read, never written.
TEST_F(FileStatements, AFileWithOtherHardLinksIsNotOpenedForWriting)
{
    ASSERT_EQ(::link((tree.Root + "/outside.txt").c_str(), tree.InDrive("HARD").c_str()), 0);
    const auto before = tree.Snapshot();
    for (int32_t mode : {FOR_OUTPUT, FOR_APPEND, NO_FOR}) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        ExpectError(MakeCode(vcOpen, mode), {S::OwnedText("HARD"), S::Long(1)}, RTE_CANNOT_OPEN_FILE);
        EXPECT_FALSE(rsrc.OpenFiles[0].IsOpen());
    }
    EXPECT_EQ(tree.Snapshot(), before);
    Open("HARD", 1, FOR_INPUT);
    EXPECT_TRUE(rsrc.OpenFiles[0].IsOpen());
    EXPECT_EQ(Eof(1), 0);
}

TEST_F(FileStatements, ReadOnlyFilesCanBeRead)
{
    TTempDriveTree::WriteFile(tree.InDrive("RO.TXT"), "1,2\r\n");
    ASSERT_EQ(::chmod(tree.InDrive("RO.TXT").c_str(), 0444), 0);
    Open("RO.TXT", 1, FOR_INPUT);
    EXPECT_EQ(Items(1, 2), (std::vector<std::string>{"1", "2"}));
    // A write into it is refused with an error, not dropped.
    ExpectError(MakeCode(vcPrintSh, false), {S::Long(1), S::BorrowedText("X")}, RTE_DISK_IO_ERROR);
    EXPECT_EQ(Content("RO.TXT"), "1,2\r\n");
    // Only the file's permission refuses the writing opens, and root is not bound by it.
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    for (int32_t mode : {FOR_OUTPUT, FOR_APPEND, NO_FOR}) {
        ExpectError(MakeCode(vcOpen, mode), {S::BorrowedText("RO.TXT"), S::Long(2)}, RTE_CANNOT_OPEN_FILE);
    }
    EXPECT_EQ(Content("RO.TXT"), "1,2\r\n");
}

TEST_F(FileStatements, WriteErrorsAreReported)
{
    // A file opened FOR INPUT is opened for reading only: a write into it is an error
    // and changes nothing.
    TTempDriveTree::WriteFile(tree.InDrive("IN.TXT"), "keep\r\n");
    Open("IN.TXT", 2, FOR_INPUT);
    ExpectError(MakeCode(vcPrintSh, false), {S::Long(2), S::BorrowedText("X")}, RTE_DISK_IO_ERROR);
    ExpectError(MakeCode(vcWriteSh, true), {S::Long(2)}, RTE_DISK_IO_ERROR);
    EXPECT_EQ(Content("IN.TXT"), "keep\r\n");
    EXPECT_TRUE(rsrc.OpenFiles[1].IsOpen());

    // /dev/full refuses every write with "no space left".
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    rsrc.OpenFiles[0].SetTo("/dev/full", O_WRONLY);
    ASSERT_TRUE(rsrc.OpenFiles[0].IsOpen());
    ExpectError(MakeCode(vcPrintSh, false), {S::Long(1), S::BorrowedText("A")}, RTE_DISK_IO_ERROR);
    ExpectError(MakeCode(vcWriteSh, true), {S::Long(1)}, RTE_DISK_IO_ERROR);
}

TEST_F(FileStatements, ALongWriteEndsOnTheStopRequest)
{
    Open("BIG.TXT", 1, FOR_OUTPUT);
    machine.Terminate();
    Print(1, S::OwnedText(std::string(std::size_t{3} << 20, 'x')));
    // The write goes out a megabyte at a time and asks between.
    EXPECT_EQ(Content("BIG.TXT").size(), std::size_t{1} << 20);
}

TEST_F(FileStatements, CloseAllSomeAndBadNumbers)
{
    for (int32_t n = 1; n <= 4; ++n) Open("F" + std::to_string(n), n, FOR_OUTPUT);
    Run(MakeCode(vcClose, 2), {S::Long(1), S::Long(3)});
    EXPECT_FALSE(rsrc.OpenFiles[0].IsOpen());
    EXPECT_TRUE(rsrc.OpenFiles[1].IsOpen());
    EXPECT_FALSE(rsrc.OpenFiles[2].IsOpen());
    // A closed number closes nothing and is no error.
    Run(MakeCode(vcClose, 1), {S::Long(1)});
    // CLOSE #2, #16, #4: the numbers after the bad one are closed, those before not.
    ExpectError(MakeCode(vcClose, 3), {S::Long(2), S::Long(16), S::Long(4)}, RTE_ILL_FUNC_CALL);
    EXPECT_TRUE(rsrc.OpenFiles[1].IsOpen());
    EXPECT_FALSE(rsrc.OpenFiles[3].IsOpen());
    ExpectError(MakeCode(vcClose, 1), {S::Long(0)}, RTE_ILL_FUNC_CALL);
    Run(MakeCode(vcClose, 0), {});
    for (const TKivoFile& f : rsrc.OpenFiles) EXPECT_FALSE(f.IsOpen());
}

TEST_F(FileStatements, PrintAndWriteForms)
{
    Open("OUT.TXT", 1, FOR_OUTPUT);
    // PRINT #1, "A", "B"
    Print(1, S::BorrowedText("A"));
    Print(1, S::Marker(tkComma));
    Print(1, S::BorrowedText("B"));
    PrintEnd(1);
    // PRINT #1, "A"; "B";
    Print(1, S::BorrowedText("A"));
    Print(1, S::BorrowedText("B"));
    // PRINT #1, 12
    PrintEnd(1);
    Print(1, S::Long(12));
    PrintEnd(1);
    // WRITE #1, "A", 1
    Write(1, S::BorrowedText("A"));
    Write(1, S::Marker(tkComma));
    Write(1, S::Long(1));
    WriteEnd(1);
    // WRITE #1, 12, a long text
    const std::string longText(1200, 'x');
    Write(1, S::Long(12));
    WriteEnd(1);
    Print(1, S::OwnedText(longText));
    PrintEnd(1);
    EXPECT_EQ(Content("OUT.TXT"), "A B\r\nAB\r\n 12 \r\n\"A\",1\r\n12\r\n" + longText + "\r\n");
}

TEST_F(FileStatements, PrintAndWriteCheckTheNumberAfterTakingTheItem)
{
    Open("OUT.TXT", 1, FOR_OUTPUT);
    for (TVMCodeCmd cmd : {vcPrintSh, vcWriteSh}) {
        ExpectError(MakeCode(cmd, false), {S::Long(0), S::BorrowedText("A")}, RTE_BAD_FILE_NUMBER);
        EXPECT_TRUE(machine.ValueStack.empty());
        ExpectError(MakeCode(cmd, false), {S::Long(16), S::BorrowedText("A")}, RTE_BAD_FILE_NUMBER);
        ExpectError(MakeCode(cmd, false), {S::Long(2), S::BorrowedText("A")}, RTE_FILE_NOT_OPEN);
        EXPECT_TRUE(machine.ValueStack.empty());
        ExpectError(MakeCode(cmd, true), {S::Long(2)}, RTE_FILE_NOT_OPEN);
    }
    ExpectError(MakeCode(vcEof), {S::Long(16)}, RTE_BAD_FILE_NUMBER);
    ExpectError(MakeCode(vcEof), {S::Long(2)}, RTE_FILE_NOT_OPEN);
    EXPECT_EQ(Content("OUT.TXT"), "");
}

TEST_F(FileStatements, ItemReader)
{
    struct Case {
        const char* content;
        long wanted;
        bool lineMode;
        std::vector<std::string> items;
        const char* rest;  // what a following LINE INPUT reads; null: nothing is left
    };
    const Case cases[] = {
        {"1,2\r\nX", 2, false, {"1", "2"}, "X"},
        {"HELLO WORLD\r\n", 2, false, {"HELLO", "WORLD"}, nullptr},
        {"1 , 2\r\n", 3, false, {"1", "", "2"}, nullptr},
        {"1,2,3", 2, false, {"1", "2"}, "3"},
        {" 12 \r\n", 1, false, {"12"}, ""},
        {"12\r\n13\r\n", 1, false, {"12"}, "13"},
        {"\"A, B\"\r\n", 1, false, {"A, B"}, nullptr},
        {"\"A\r\nB\",C", 2, false, {"A\r\nB", "C"}, nullptr},
        {"A\"B,C\"D\r\n", 1, false, {"AB,CD"}, nullptr},
        {"\r\nX", 1, false, {""}, "X"},
        {"\r\nX", 1, true, {""}, "X"},
        {"   lead, and; more\r\nnext", 1, true, {"lead, and; more"}, "next"},
        {"LAST", 1, true, {"LAST"}, nullptr},
        {"A   ", 3, false, {"A"}, nullptr},
        {"A\r", 1, false, {"A"}, nullptr},
        {"A\rB", 1, false, {"A"}, "B"},
        {"A\nB", 1, false, {"A"}, "B"},
        {"A;B", 2, false, {"A", "B"}, nullptr},
        {"\"open", 1, false, {"open"}, nullptr},
        {"", 1, false, {}, nullptr},
    };
    int32_t file = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        const std::string name = "IN" + std::to_string(++file);
        TTempDriveTree::WriteFile(tree.InDrive(name), c.content);
        Open(name, 1, FOR_INPUT);
        EXPECT_EQ(Items(1, c.wanted, c.lineMode), c.items);
        if (c.rest == nullptr) {
            EXPECT_EQ(Eof(1), -1);
        } else {
            EXPECT_EQ(Items(1, 1, true), std::vector<std::string>{c.rest});
        }
        Run(MakeCode(vcClose, 0), {});
    }
}

TEST_F(FileStatements, PrintedNumbersReadBack)
{
    // PRINT #1, 12 twice, read by INPUT #1, X three times: the blank after 12 ends the
    // item, so the line end is read as an empty item of its own.
    Open("NUM.TXT", 1, FOR_OUTPUT);
    for (int i = 0; i < 2; ++i) {
        Print(1, S::Long(12));
        PrintEnd(1);
    }
    Run(MakeCode(vcClose, 1), {S::Long(1)});
    Open("NUM.TXT", 1, FOR_INPUT);
    EXPECT_EQ(Items(1, 1), std::vector<std::string>{"12"});
    EXPECT_EQ(Items(1, 1), std::vector<std::string>{""});
    EXPECT_EQ(Items(1, 1), std::vector<std::string>{"12"});
}

TEST_F(FileStatements, ReadingPastTheEnd)
{
    TTempDriveTree::WriteFile(tree.InDrive("ONE.TXT"), "1\r\n");
    Open("ONE.TXT", 1, FOR_INPUT);
    try {
        machine.ReadFileItems(1, 2, false);
        ADD_FAILURE() << "no error";
    } catch (const TException&) {
        EXPECT_EQ(machine.ErrorText(), std::string(RTE_INPUT_PAST_END));
    }
    EXPECT_EQ(Eof(1), -1);
    EXPECT_THROW(machine.ReadFileItems(1, 1, true), TException);
    EXPECT_THROW(machine.ReadFileItems(2, 1, true), TException);
    EXPECT_EQ(machine.ErrorText(), std::string(RTE_FILE_NOT_OPEN));
    EXPECT_THROW(machine.ReadFileItems(16, 1, true), TException);
    EXPECT_EQ(machine.ErrorText(), std::string(RTE_BAD_FILE_NUMBER));

    // A machine told to stop takes the items it read whole without the error; the item
    // it was in when the reading stopped is dropped.
    TTempDriveTree::WriteFile(tree.InDrive("TWO.TXT"), "1,2");
    Open("TWO.TXT", 2, FOR_INPUT);
    machine.Terminate();
    EXPECT_EQ(machine.ReadFileItems(2, 3, false), std::vector<std::string>{"1"});
}

TEST_F(FileStatements, ReadersGoOnFromTheByteAfterAnItem)
{
    TTempDriveTree::WriteFile(tree.InDrive("MIX.TXT"), "AB,CD\r\nEF\r\nGH");
    Open("MIX.TXT", 1, FOR_INPUT);
    EXPECT_EQ(Items(1, 1), std::vector<std::string>{"AB"});
    EXPECT_EQ(machine.InputDlFromFile(1, 2).text, "CD");
    EXPECT_EQ(Items(1, 1, true), std::vector<std::string>{""});
    EXPECT_EQ(Items(1, 1, true), std::vector<std::string>{"EF"});
    EXPECT_EQ(Eof(1), 0);
    EXPECT_EQ(machine.InputDlFromFile(1, 2).text, "GH");
    EXPECT_EQ(Eof(1), -1);
}

TEST_F(FileStatements, ALongLineEndsSoonOnceTheMachineIsToldToStop)
{
    // The readers stop before their second fill of the buffer. What they read of the
    // line before the stop is dropped, not handed on, and the run ends without an
    // error; the rest of the line stays in the file.
    enum class Reader { Line, Items, Characters };
    const std::string line(std::size_t{1} << 20, 'L');
    TTempDriveTree::WriteFile(tree.InDrive("LONG.TXT"), line + "\r\n");
    for (const Reader reader : {Reader::Line, Reader::Items, Reader::Characters}) {
        SCOPED_TRACE(static_cast<int>(reader));
        Open("LONG.TXT", 1, FOR_INPUT);
        machine.Terminate();
        if (reader == Reader::Characters) {
            // INPUT$(100000, #1)
            Run(MakeCode(vcInputDl, true), {S::Long(100000), S::Long(1)});
            ASSERT_EQ(machine.ValueStack.size(), 1u);
            EXPECT_STREQ(machine.StackCString(machine.ValueStack.back()), "");
        } else {
            EXPECT_EQ(machine.ReadFileItems(1, 1, reader == Reader::Line), std::vector<std::string>{});
        }
        EXPECT_EQ(Eof(1), 0);
        Run(MakeCode(vcClose, 0), {});
    }
}

TEST_F(FileStatements, ALongTextReadMovesToALargerBlockOnlyWhileTheRunGoesOn)
{
    const std::string long_text(std::size_t{3} << 20, 'T');
    std::string text = long_text;
    text.shrink_to_fit();
    machine.AppendReadText(text, "more", 0);
    EXPECT_EQ(text, long_text + "more");
    // Told to stop, the move gives up part of the way and drops the text.
    text = long_text;
    text.shrink_to_fit();
    machine.Terminate();
    EXPECT_THROW(machine.AppendReadText(text, "more", 0), TFileMachine::TReadDropped);
    EXPECT_EQ(text, "");
}

TEST_F(FileStatements, CharacterReader)
{
    TTempDriveTree::WriteFile(tree.InDrive("K.TXT"), "漢A,\r\nBC");
    for (long mode : {2L, 3L}) {
        SCOPED_TRACE(mode);
        machine.RuntimeCompatiMode = mode;
        Open("K.TXT", 1, FOR_INPUT);
        // INPUT$(2, #1): the two-column character comes whole.
        machine.ValueStack.clear();
        machine.Push(S::Long(2));
        machine.Push(S::Long(1));
        machine.InputDlFromFileForm();
        EXPECT_STREQ(machine.StackCString(machine.ValueStack.back()), "漢");
        machine.ValueStack.clear();
        // Delimiters and line ends are ordinary characters here.
        machine.Push(S::Long(4));
        machine.Push(S::Long(1));
        machine.InputDlFromFileForm();
        EXPECT_STREQ(machine.StackCString(machine.ValueStack.back()), "A,\r\n");
        machine.ValueStack.clear();
        machine.Push(S::Long(3));
        machine.Push(S::Long(1));
        EXPECT_THROW(machine.InputDlFromFileForm(), TException);
        EXPECT_EQ(machine.ErrorText(), std::string(RTE_INPUT_PAST_END));
        Run(MakeCode(vcClose, 0), {});
    }
    machine.ValueStack.clear();
    machine.Push(S::Long(1));
    machine.Push(S::Long(1));
    EXPECT_THROW(machine.InputDlFromFileForm(), TException);
    EXPECT_EQ(machine.ErrorText(), std::string(RTE_FILE_NOT_OPEN));
    // NUL bytes count as characters; a broken character does not swallow the next one.
    TTempDriveTree::WriteFile(tree.InDrive("BIN.TXT"), std::string("A\0BC\xE6"
                                                                   "DE",
                                                                   7));
    Open("BIN.TXT", 2, FOR_INPUT);
    EXPECT_EQ(machine.InputDlFromFile(2, 3).text, std::string("A\0B", 3));
    EXPECT_EQ(machine.InputDlFromFile(2, 3).text, "C\xE6"
                                                  "D");
    // A character cut short by the end of the file is returned as far as it goes.
    TTempDriveTree::WriteFile(tree.InDrive("CUT.TXT"), "\xE6\xBC");
    Open("CUT.TXT", 1, FOR_INPUT);
    EXPECT_EQ(machine.InputDlFromFile(1, 5).text, "\xE6\xBC");
}

TEST_F(FileStatements, HostPathsForRunAndChain)
{
    TTempDriveTree::WriteFile(tree.InDrive("PROG.BAS"), "10 END\r\n");
    ASSERT_EQ(::symlink("../outside.txt", tree.InDrive("LINK.BAS").c_str()), 0);
    ASSERT_EQ(::mkfifo(tree.InDrive("FIFO.BAS").c_str(), 0600), 0);
    EXPECT_EQ(machine.FullPathFName("PROG.BAS", true), tree.Drive + "/PROG.BAS");
    EXPECT_EQ(machine.FullPathFName("1:PROG.BAS", false), tree.Drive + "/PROG.BAS");
    EXPECT_EQ(machine.FullPathFName("2:NEW.BAS", false), tree.Root + "/drive2/NEW.BAS");
    struct Case {
        const char* name;
        bool mustExist;
        const char* key;
    };
    const Case cases[] = {
        {"NONE.BAS", true, RTE_FILE_NOT_FOUND},
        {"../outside.txt", false, RTE_FILE_NOT_FOUND},
        {"../outside.txt", true, RTE_FILE_NOT_FOUND},
        {"LINK.BAS", false, RTE_FILE_NOT_FOUND},
        {"FIFO.BAS", false, RTE_FILE_NOT_FOUND},
        {"0:A", false, RTE_BAD_DRIVE_NUMBER},
        {"3:A", true, RTE_DISK_OFFLINE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(machine.FullPathFName(c.name, c.mustExist), TException);
        EXPECT_EQ(machine.ErrorText(), std::string(c.key));
    }
}

TEST_F(FileStatements, FilesListsTheDriveFolder)
{
    TTempDriveTree::WriteFile(tree.InDrive("SAMPLE.BAS"), std::string(2500, 'x'));
    rsrc.CsrIdx = 0;
    Run(MakeCode(vcFiles, false), {});
    const std::string screen = ScreenLines(rsrc);
    EXPECT_EQ(screen.substr(0, screen.find('\n')), "SAMPLE.BAS 2");
    EXPECT_EQ(rsrc.CsrIdx, 80);
    EXPECT_EQ(lamps.Lamp(0), 1);
    EXPECT_GE(updates.Count(), 1);
    EXPECT_TRUE(machine.ValueStack.empty());
}

TEST_F(FileStatements, FilesEntries)
{
    struct Case {
        const char* name;
        size_t bytes;
        const char* entry;
    };
    const Case cases[] = {
        {"SAMPLE.BAS", 2500, "SAMPLE.BAS 2    "},
        {"README", 300, "README.    1    "},
        {"A.B", 0, "A     .B   0    "},
        {".profile", 10, "      .pro 1    "},
        {"LONGNAME.TXT", 5000, "LONGNA.TXT 4    "},
        {"a.b.longext", 1, "a.b   .lon 1    "},
        {"漢字ファイル.TXT", 1024, "漢字フ.TXT 1    "},
        {"ｱｲｳｴｵｶｷ.ｸ", 2048, "ｱｲｳｴｵｶ.ｸ   2    "},
        {"A\x01"
         "B\x1b.TXT",
         1, "A?B?  .TXT 1    "},
    };
    machine.RuntimeCompatiMode = 3;  // no shift codes in the measures
    std::filesystem::create_directory(tree.Root + "/one");
    rsrc.DrvFolders.Set(4, tree.Root + "/one");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = c.name;
        std::filesystem::remove_all(tree.Root + "/one");
        std::filesystem::create_directory(tree.Root + "/one");
        TTempDriveTree::WriteFile(tree.Root + "/one/" + name, std::string(c.bytes, 'x'));
        Run(MakeCode(vcCls, false), {});
        rsrc.CsrIdx = 0;
        Run(MakeCode(vcFiles, true), {S::Long(5)});
        EXPECT_EQ(rsrc.CsrIdx, 80);
        std::string row;
        for (int i = 0; i < 16; ++i) {
            if (!rsrc.CellIsRightHalf(i)) row += rsrc.CellIsEmpty(i) ? std::string(" ") : std::string(rsrc.TxtBuf[i]);
        }
        EXPECT_EQ(row, c.entry);
    }
}

TEST_F(FileStatements, FilesPlacesEntriesInColumnsAndBreaksRows)
{
    for (const char* name : {"A", "B", "C", "D", "E", "F"}) TTempDriveTree::WriteFile(tree.InDrive(name), "");
    rsrc.CsrIdx = 0;
    Run(MakeCode(vcFiles, false), {});
    // Five entries to an 80-column row, the sixth on the next, then the line end.
    EXPECT_EQ(rsrc.CsrIdx, 160);
    std::string screen = ScreenLines(rsrc);
    const std::string first = screen.substr(0, screen.find('\n'));
    for (int col : {0, 16, 32, 48, 64}) EXPECT_EQ(first.substr(static_cast<size_t>(col) + 6, 4), ".   ") << col;

    // An empty folder prints only the line end; at column 70 an entry starts a new row.
    std::filesystem::create_directory(tree.Root + "/empty");
    rsrc.DrvFolders.Set(2, tree.Root + "/empty");
    rsrc.CsrIdx = 5 * 80 + 10;
    Run(MakeCode(vcFiles, true), {S::Long(3)});
    EXPECT_EQ(rsrc.CsrIdx, 6 * 80);
    TTempDriveTree::WriteFile(tree.Root + "/empty/ONE", "");
    rsrc.CsrIdx = 10 * 80 + 70;
    Run(MakeCode(vcFiles, true), {S::Long(3)});
    EXPECT_EQ(rsrc.CsrIdx, 12 * 80);
    screen = ScreenLines(rsrc);
    size_t row11 = 0;
    for (int i = 0; i < 11; ++i) row11 = screen.find('\n', row11) + 1;
    EXPECT_EQ(screen.substr(row11, 10), "ONE   .   ");
}

TEST_F(FileStatements, FilesErrorsComeFirst)
{
    rsrc.CsrIdx = 0;
    ExpectError(MakeCode(vcFiles, true), {S::Long(15)}, RTE_BAD_DRIVE_NUMBER);
    ExpectError(MakeCode(vcFiles, true), {S::Long(0)}, RTE_BAD_DRIVE_NUMBER);
    ExpectError(MakeCode(vcFiles, true), {S::Long(3)}, RTE_DISK_OFFLINE);
    EXPECT_EQ(rsrc.CsrIdx, 0);
    EXPECT_EQ(lamps.Lamp(0) + lamps.Lamp(2), 0);
    // A folder that vanished lists nothing and only ends the line.
    rsrc.DrvFolders.Set(3, tree.Root + "/gone");
    Run(MakeCode(vcFiles, true), {S::Long(4)});
    EXPECT_EQ(rsrc.CsrIdx, 80);
}

TEST_F(FileStatements, ARunStartsWithNoFileOpen)
{
    Open("KEEP.TXT", 7, FOR_OUTPUT);
    ASSERT_TRUE(rsrc.OpenFiles[6].IsOpen());
    TFileMachine next("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr);
    EXPECT_FALSE(rsrc.OpenFiles[6].IsOpen());
}

}  // namespace
