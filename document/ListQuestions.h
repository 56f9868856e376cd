#pragma once
// The questions and error alerts of the list files, asked through a service the
// editor injects: the application shows them as modal alerts titled
// "* %AppName% *"; tests answer them from a script.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct TQuestionButton {
    std::string Label;     // looked up already
    char Accelerator = 0;  // the letter merged into the label, or 0 for none
};

struct TListQuestion {
    std::string Text;
    std::vector<TQuestionButton> Buttons;  // left to right
    int32_t EscapeIndex = -1;              // the button Escape answers, or -1
    bool Warning = false;                  // a warning alert, else an information alert
};

class TListAsker {
public:
    virtual ~TListAsker();

    // Blocks until answered; returns the index of the chosen button.
    virtual int32_t Ask(const TListQuestion& question) = 0;
    // A warning alert with the one button "Understand".
    virtual void ShowError(const std::string& text) = 0;
};

// Answers from a script and keeps what was asked, for tests and the headless side.
// With the script used up every question is answered with its Escape button (or 0).
class TScriptedListAsker : public TListAsker {
public:
    int32_t Ask(const TListQuestion& question) override;
    void ShowError(const std::string& text) override { Errors.push_back(text); }

    std::deque<int32_t> Answers;
    std::vector<TListQuestion> Questions;
    std::vector<std::string> Errors;
};
