// The code listing that compiler and machine tests state expected code with.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language/CodeListing.h"
#include "language/MidCode.h"

namespace {

TEST(CodeListing, OperandsByKind)
{
    TVarInfo var;
    var.VarName = "A!";
    const std::vector<TVMCode> codes = {
        MakeCode(vcBLineBegin, int32_t{10}),
        MakeCode(vcBPushInt, int32_t{-1}),
        MakeCode(vcBPushFloat, 1.5f),
        MakeCode(vcBPushFloat, 0.1f),
        MakeCode(vcBPushDouble, 2.25),
        MakeCode(vcBPushDouble, 0.1),
        MakeCode(vcRestore, true),
        MakeCode(vcPrint, false),
        MakeCode(vcBPushString, "say \"hi\"\\\n"),
        MakeCode(vcBPushString, static_cast<const char*>(nullptr)),
        MakeCode(vcBPushVar, &var),
        MakeCode(vcBAddString),
        MakeCode(VM_CODE_PLACEHOLDER),
        MakeCode(static_cast<TVMCodeCmd>(0x1057)),
        MakeCode(vcBExit),
    };
    EXPECT_EQ(ListCodes(codes), "vcBLineBegin 10\n"
                                "vcBPushInt -1\n"
                                "vcBPushFloat 1.5\n"
                                "vcBPushFloat 0.1\n"
                                "vcBPushDouble 2.25\n"
                                "vcBPushDouble 0.1\n"
                                "vcRestore true\n"
                                "vcPrint false\n"
                                "vcBPushString \"say \\\"hi\\\"\\\\\\x0A\"\n"
                                "vcBPushString (null)\n"
                                "vcBPushVar A!\n"
                                "vcBAddString\n"
                                "?0x0\n"
                                "?0x1057\n"
                                "vcBExit\n");
    EXPECT_EQ(ListCodes(codes, 13), "?0x1057\nvcBExit\n");
    EXPECT_EQ(ListCodes(codes, 99), "");
    EXPECT_EQ(ListCode(codes[0]), "vcBLineBegin 10");
}

TEST(CodeListing, InternalLabelsAreRenumberedInOrderOfAppearance)
{
    const std::vector<TVMCode> codes = {
        MakeCode(vcBPushString, "@L17"),  MakeCode(vcBPushString, "@L9"), MakeCode(vcBPushString, "@L17"),
        MakeCode(vcBPushString, "*LOOP"), MakeCode(vcBPushString, "@Lx"), MakeCode(vcBPushString, "@L"),
        MakeCode(vcBCallUserFunc, "FNA"),
    };
    EXPECT_EQ(ListCodes(codes), "vcBPushString \"@L1\"\n"
                                "vcBPushString \"@L2\"\n"
                                "vcBPushString \"@L1\"\n"
                                "vcBPushString \"*LOOP\"\n"
                                "vcBPushString \"@Lx\"\n"
                                "vcBPushString \"@L\"\n"
                                "vcBCallUserFunc \"FNA\"\n");
    // Without renumbering, one record as it is.
    EXPECT_EQ(ListCode(codes[0]), "vcBPushString \"@L17\"");
}

TEST(CodeListing, ContainerListingShowsLabelDefinitions)
{
    // 10 WHILE X : WEND, roughly as a compiler lays it out.
    TMidCode mid;
    mid.Codes.push_back(MakeCode(VM_CODE_PLACEHOLDER));
    mid.Codes.push_back(MakeCode(vcBLineBegin, int32_t{10}));
    mid.Codes.push_back(MakeCode(vcBPushString, mid.KeepText("@L12")));  // 2
    mid.Codes.push_back(MakeCode(vcBFJmp));
    mid.Codes.push_back(MakeCode(vcBPushString, mid.KeepText("@L11")));  // 4
    mid.Codes.push_back(MakeCode(vcBJmp));
    mid.Codes.push_back(MakeCode(vcBExit));  // 6
    mid.LabelMap["@L11"] = 1;
    mid.LabelMap["@L12"] = 6;
    mid.LabelMap["@L10"] = 6;
    mid.LabelMap["*START"] = 1;
    mid.LabelMap["@L99"] = 7;  // at the very end
    mid.LabelMap["*MISSING"] = 0;
    EXPECT_EQ(ListCodes(mid), "*START:\n"
                              "@L1:\n"
                              "vcBLineBegin 10\n"
                              "vcBPushString \"@L2\"\n"
                              "vcBFJmp\n"
                              "vcBPushString \"@L1\"\n"
                              "vcBJmp\n"
                              "@L3:\n"
                              "@L2:\n"
                              "vcBExit\n"
                              "@L4:\n");
}

}  // namespace
