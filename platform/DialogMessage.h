// What the surface reports to the dialog: one message at a time, on the dialog's thread.
#pragma once

enum class MessageKind
{
    Click,       // a button click or a tap on the picture; controlId says which
    SizeChanged, // the dialog's size changed
    Timer,       // a tick of the periodic timer timerId
    Close,       // the done button in the caption
};

struct DialogMessage
{
    MessageKind kind = MessageKind::Click;
    int controlId = 0;
    int timerId = 0;
};

class IDialogMessageSink
{
public:
    virtual ~IDialogMessageSink() = default;
    // Called once the controls exist, before the dialog is shown. The return value says
    // whether the platform should set the initial focus.
    virtual bool OnDialogInit() = 0;
    virtual void OnMessage(const DialogMessage& message) = 0;
};
