// Modal message boxes over the wizard: an error, a question or a plain note,
// with OK or Yes/No captioned in the interface language, titled with the
// parent window's title. Main (GTK) thread only.
#pragma once

#include <csignal>
#include <cstdint>

#include "text/wide_string.h"
#include "ui/cwnd.h"

// High byte of the flags: the kind of box.
constexpr uint32_t kBoxPlain = 0x0000;
constexpr uint32_t kBoxError = 0x0100;
constexpr uint32_t kBoxQuestion = 0x0200;
// Low byte of the flags: the buttons.
constexpr uint32_t kBoxOk = 0x0001;
constexpr uint32_t kBoxYesNo = 0x0002;

// Answers.
constexpr int kAnswerNone = 0;  // closed without a button
constexpr int kAnswerYes = 1;
constexpr int kAnswerNo = 2;
constexpr int kAnswerOk = 3;

// Shows the text (literally: "%" is not a format) and waits for an answer.
int messageBox(const CWnd* parent, const WideString& text, uint32_t flags);

// From now on a box closes by itself (answer kAnswerNone), or is not shown,
// once `*flag` is non-zero: a termination signal never waits for an answer.
void close_message_boxes_when(const volatile std::sig_atomic_t* flag);
