// Message boxes on QMessageBox, reached through a replaceable responder.
#include "platform/qt/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace quillory {

namespace {

MessageBoxResponder& Responder()
{
    static MessageBoxResponder responder;
    return responder;
}

QString Cut(const QString& text)
{
    if (text.size() <= kMaxMessageLength)
        return text;
    // Never leave half of a surrogate pair at the end.
    const int length = text.at(kMaxMessageLength - 1).isHighSurrogate() ? kMaxMessageLength - 1
                                                                        : kMaxMessageLength;
    return text.left(length);
}

MessageResult FirstButton(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel: return MessageResult::Ok;
    case MessageButtons::AbortRetryIgnore: return MessageResult::Abort;
    case MessageButtons::YesNoCancel:
    case MessageButtons::YesNo: return MessageResult::Yes;
    case MessageButtons::RetryCancel: return MessageResult::Retry;
    }
    return MessageResult::Ok;
}

QMessageBox::StandardButtons QtButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon QtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

MessageResult FromQt(int button, MessageButtons buttons)
{
    switch (button) {
    case QMessageBox::Ok: return MessageResult::Ok;
    case QMessageBox::Cancel: return MessageResult::Cancel;
    case QMessageBox::Abort: return MessageResult::Abort;
    case QMessageBox::Retry: return MessageResult::Retry;
    case QMessageBox::Ignore: return MessageResult::Ignore;
    case QMessageBox::Yes: return MessageResult::Yes;
    case QMessageBox::No: return MessageResult::No;
    default:
        // Closed without a button: the box's way of saying no.
        return buttons == MessageButtons::Ok ? MessageResult::Ok
               : buttons == MessageButtons::YesNo ? MessageResult::No
                                                  : MessageResult::Cancel;
    }
}

MessageResult ShowRealBox(const MessageBoxRequest& request)
{
    // The program's texts break lines with a carriage return alone.
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    QMessageBox box(QtIcon(request.icon), request.caption, text, QtButtons(request.buttons),
                    QApplication::activeWindow());
    return FromQt(box.exec(), request.buttons);
}

} // namespace

MessageResult ShowMessageBox(const QString& text, const QString& caption, MessageButtons buttons,
                             MessageIcon icon)
{
    const MessageBoxRequest request{Cut(text), Cut(caption), buttons, icon};
    return Responder() ? Responder()(request) : ShowRealBox(request);
}

bool AskConfirm(const QString& text)
{
    return ShowMessageBox(text, QStringLiteral("Confirm"), MessageButtons::YesNo, MessageIcon::Question) ==
           MessageResult::Yes;
}

void ShowInformation(const QString& text)
{
    ShowMessageBox(text, QStringLiteral("Information"), MessageButtons::Ok, MessageIcon::Information);
}

MessageBoxResponder SetMessageBoxResponder(MessageBoxResponder responder)
{
    std::swap(Responder(), responder);
    return responder;
}

MessageBoxScript::MessageBoxScript()
{
    previous_ = SetMessageBoxResponder([this](const MessageBoxRequest& request) {
        shown_.push_back(request);
        if (answers_.empty())
            return FirstButton(request.buttons);
        const MessageResult answer = answers_.front();
        answers_.pop_front();
        return answer;
    });
}

MessageBoxScript::~MessageBoxScript()
{
    SetMessageBoxResponder(std::move(previous_));
}

MessageBoxScript& MessageBoxScript::Answer(MessageResult answer)
{
    answers_.push_back(answer);
    return *this;
}

} // namespace quillory
