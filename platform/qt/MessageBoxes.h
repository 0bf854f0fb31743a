// The two message boxes through which every question and notice of the program goes, and the
// responder behind them that a test replaces to answer boxes and record what they said.
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

namespace quillory {

enum class MessageButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MessageIcon { None, Error, Question, Warning, Information };
// The button pressed; the numbers are the platform's usual ones.
enum class MessageResult { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// Texts and captions are cut to this many characters before they are shown.
constexpr int kMaxMessageLength = 255;

struct MessageBoxRequest {
    QString text;     // already cut to kMaxMessageLength
    QString caption;  // likewise
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

// The application's modal message box; returns the button pressed.
MessageResult ShowMessageBox(const QString& text, const QString& caption, MessageButtons buttons,
                             MessageIcon icon = MessageIcon::None);
// Caption "Confirm", Yes and No, question icon: true when Yes was pressed.
bool AskConfirm(const QString& text);
// Caption "Information", OK, information icon.
void ShowInformation(const QString& text);

// Test seam: who answers a message box. An empty responder restores the real box.
// Returns the responder that was in place.
using MessageBoxResponder = std::function<MessageResult(const MessageBoxRequest&)>;
MessageBoxResponder SetMessageBoxResponder(MessageBoxResponder responder);

// A scripted responder for the lifetime of the object: it records every box and answers with
// the queued answers in order, then with the first button of each box (OK, Yes, Abort, Retry).
class MessageBoxScript {
public:
    MessageBoxScript();
    ~MessageBoxScript();
    MessageBoxScript(const MessageBoxScript&) = delete;
    MessageBoxScript& operator=(const MessageBoxScript&) = delete;

    MessageBoxScript& Answer(MessageResult answer);
    const std::vector<MessageBoxRequest>& Shown() const noexcept { return shown_; }

private:
    std::deque<MessageResult> answers_;
    std::vector<MessageBoxRequest> shown_;
    MessageBoxResponder previous_;
};

} // namespace quillory
