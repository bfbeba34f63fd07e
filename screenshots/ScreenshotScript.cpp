#include "ScreenshotScript.h"

#include "platform/qt/WrappingButton.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <unistd.h>

namespace
{
// Long enough for the layout and the paint that a press sets off, and well under the second
// in which a running stopwatch ticks, so that a shot right after a press shows the press.
constexpr int SettleMilliseconds = 300;

QString Variable(const char* name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

[[noreturn]] void Stop(const QString& message)
{
    std::fprintf(stderr, "tavrino-screenshots: %s\n", qPrintable(message));
    std::fflush(stderr);
    _exit(1);
}

// Whether `name` reads as one key that Qt knows, with or without modifiers.
bool IsOneKey(const QString& name)
{
    const QKeySequence sequence = QKeySequence::fromString(name);
    return sequence.count() == 1 && sequence[0].key() != Qt::Key_unknown && sequence[0].key() != 0;
}

// The shown button of `window` labelled `label`, or null.
QWidget* ButtonLabelled(QWidget* window, const QString& label)
{
    for (auto* button : window->findChildren<CWrappingButton*>())
    {
        if (button->isVisible() && button->Label() == label)
            return button;
    }
    return nullptr;
}
} // namespace

QList<ScreenshotStep> ParseScreenshotSteps(const QString& text, QString& error)
{
    QList<ScreenshotStep> steps;
    const QStringList lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i)
    {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype space = line.indexOf(' ');
        ScreenshotStep step{static_cast<int>(i + 1), line.left(space),
                            space < 0 ? QString() : line.mid(space + 1).trimmed()};
        const bool known =
            step.verb == "key" || step.verb == "tap" || step.verb == "wait" || step.verb == "shot";
        bool number = true;
        if (step.verb == "wait")
            step.argument.toInt(&number);
        if (!known || step.argument.isEmpty() || !number)
        {
            error = QString("line %1: cannot read '%2'").arg(step.line).arg(line);
            return {};
        }
        if (step.verb == "key" && !IsOneKey(step.argument))
        {
            error = QString("line %1: no key '%2'").arg(step.line).arg(step.argument);
            return {};
        }
        steps.push_back(step);
    }
    return steps;
}

CScreenshotScript::CScreenshotScript(QList<ScreenshotStep> steps, QString folder, QString suffix,
                                     QObject* parent)
    : QObject(parent), m_steps(std::move(steps)), m_folder(std::move(folder)),
      m_suffix(std::move(suffix))
{
}

bool CScreenshotScript::eventFilter(QObject* watched, QEvent* event)
{
    if (m_window == nullptr && event->type() == QEvent::Paint)
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->isWindow())
        {
            m_window = widget;
            QTimer::singleShot(SettleMilliseconds, this, &CScreenshotScript::RunNextStep);
        }
    }
    return false;
}

void CScreenshotScript::RunNextStep()
{
    if (m_window == nullptr)
        Stop("the window went away");
    if (m_next == m_steps.size())
    {
        m_window->close();
        return;
    }
    const ScreenshotStep& step = m_steps[m_next++];
    // The next step is due before this one acts: a message box that a tap opens keeps the
    // tap's handling in its own event loop until a later step closes it.
    QTimer::singleShot(step.verb == "wait" ? step.argument.toInt() : SettleMilliseconds, this,
                       &CScreenshotScript::RunNextStep);
    if (step.verb == "key")
    {
        const QKeyCombination key = QKeySequence::fromString(step.argument)[0];
        // Keys go where a keyboard sends them: to the widget with the focus.
        QWidget* target = m_window->focusWidget();
        if (target == nullptr)
            target = m_window;
        QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers(), step.argument);
        QKeyEvent release(QEvent::KeyRelease, key.key(), key.keyboardModifiers(), step.argument);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }
    else if (step.verb == "tap")
    {
        QWidget* button = ButtonLabelled(m_window, step.argument);
        if (button == nullptr)
            Fail(step, "no shown button reads '" + step.argument + "'");
        const QPointF centre = QRectF(button->rect()).center();
        const QPointF global = button->mapToGlobal(centre);
        QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(button, &press);
        QApplication::sendEvent(button, &release);
    }
    else if (step.verb == "shot")
    {
        const QString file = QDir(m_folder).filePath(step.argument + m_suffix + ".png");
        if (!m_window->grab().save(file, "PNG"))
            Fail(step, "cannot write " + file);
        std::printf("%s\n", qPrintable(file));
        std::fflush(stdout);
    }
}

void CScreenshotScript::Fail(const ScreenshotStep& step, const QString& what)
{
    Stop(QString("line %1: %2").arg(step.line).arg(what));
}

namespace
{
// Runs inside the constructor of the application, before the program makes any window. Only
// the window program draws: `play`, `check` and the terminal version run untouched.
void InstallScreenshotScript()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    const QString stepsFile = Variable("TAVRINO_SCREENSHOT_STEPS");
    if (stepsFile.isEmpty())
        Stop("TAVRINO_SCREENSHOT_STEPS names no steps file");
    QFile file(stepsFile);
    if (!file.open(QIODevice::ReadOnly))
        Stop("cannot read " + stepsFile);
    QString error;
    auto steps = ParseScreenshotSteps(QString::fromUtf8(file.readAll()), error);
    if (!error.isEmpty())
        Stop(stepsFile + ": " + error);
    const QString folder = Variable("TAVRINO_SCREENSHOT_FOLDER");
    auto* application = QCoreApplication::instance();
    application->installEventFilter(
        new CScreenshotScript(std::move(steps), folder.isEmpty() ? "." : folder,
                              Variable("TAVRINO_SCREENSHOT_SUFFIX"), application));
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallScreenshotScript)
