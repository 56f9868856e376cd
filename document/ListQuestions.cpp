#include "document/ListQuestions.h"

TListAsker::~TListAsker() = default;

int32_t TScriptedListAsker::Ask(const TListQuestion& question)
{
    Questions.push_back(question);
    if (Answers.empty()) return question.EscapeIndex >= 0 ? question.EscapeIndex : 0;
    const int32_t answer = Answers.front();
    Answers.pop_front();
    return answer;
}
