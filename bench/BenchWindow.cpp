// A tap in the window onto a step of several megabytes of text: the screen must answer as
// fast as on a short step, whatever the size of the text behind it.
#include "BenchFolder.h"
#include "app/MainDialog.h"
#include "platform/ControlId.h"
#include "platform/qt/QtDialogSurface.h"
#include "platform/qt/QtPictureDecoder.h"

#include <QApplication>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace
{

QApplication& Application()
{
    static int argc = 1;
    static char name[] = "tavrino-bench";
    static char* argv[] = {name, nullptr};
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Never destroyed: at exit Qt's own statics go before those of the program, and a
    // QApplication destroyed after them crashes the benchmark program on its way out.
    static auto* application = new QApplication(argc, argv);
    return *application;
}

enum class StepShape
{
    ManyLines, // lines of eight words
    OneLine,   // a single line without a line feed
};

// A list whose first step holds about `bytes` of text and whose second is one line.
void WriteList(const std::string& path, std::int64_t bytes, StepShape shape)
{
    std::ofstream list(path, std::ios::binary);
    list << "$Gross\r\n!Test\r\n";
    const char* const words[] = {"Bremse", "Hauptschalter", "Druck", "Leitung", "Ventil", "Zug"};
    std::int64_t written = 0;
    for (int i = 0; written < bytes; ++i)
    {
        const char* word = words[i % 6];
        list << word;
        written += static_cast<std::int64_t>(std::char_traits<char>::length(word)) + 1;
        list << ((shape == StepShape::ManyLines && i % 8 == 7) ? "\r\n" : " ");
    }
    list << "Ende;\r\nZweiter Schritt;\r\n";
}

class CWindowOnList
{
public:
    CWindowOnList(std::int64_t bytes, StepShape shape)
    {
        Application();
        std::filesystem::create_directory(m_program.Folder() + "Thema");
        WriteList(m_program.Folder() + "Thema/gross.lst", bytes, shape);
        m_surface = std::make_unique<CQtDialogSurface>(m_decoder, "tavrino");
        m_dialog = std::make_unique<CMainDialog>(*m_surface, m_program.Folder());
        m_dialog->Create();
        m_surface->DialogWindow()->resize(480, 640);
        m_surface->DialogWindow()->show();
        Tap(ControlId::CentreButton);
        Tap(ControlId::MenuButton0);
    }

    // A tap as the window gets it, with everything it leads to until the screen is drawn.
    void Tap(int controlId)
    {
        QWidget* widget = m_surface->ControlWidget(controlId);
        QMetaObject::invokeMethod(widget, "click");
        QApplication::processEvents();
        m_surface->DialogWindow()->repaint();
    }

private:
    CBenchFolder m_program;
    CQtPictureDecoder m_decoder;
    std::unique_ptr<CQtDialogSurface> m_surface;
    std::unique_ptr<CMainDialog> m_dialog;
};

void LargeStepSizes(benchmark::internal::Benchmark* benchmark)
{
    benchmark
        ->ArgsProduct(
            {{1000, 1000000, 10000000},
             {static_cast<int>(StepShape::ManyLines), static_cast<int>(StepShape::OneLine)}})
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
}

// From the sub-menu into the list: the file is read, the pass run, the large step shown.
void BM_WindowOpensListOnLargeStep(benchmark::State& state)
{
    CWindowOnList window(state.range(0), static_cast<StepShape>(state.range(1)));
    for (auto _ : state)
    {
        window.Tap(ControlId::MenuButton0);
        state.PauseTiming();
        window.Tap(ControlId::LeftButton); // "Abbruch" to the sub-menu
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowOpensListOnLargeStep)->Apply(LargeStepSizes);

// "Weiter" from the large step to a short one, and "Zurück" onto the large one again.
void BM_WindowStepsAroundLargeStep(benchmark::State& state)
{
    CWindowOnList window(state.range(0), static_cast<StepShape>(state.range(1)));
    window.Tap(ControlId::MenuButton0);
    for (auto _ : state)
    {
        window.Tap(ControlId::RightButton);
        window.Tap(ControlId::CentreButton);
    }
    state.counters["taps"] = benchmark::Counter(2.0 * static_cast<double>(state.iterations()));
}
BENCHMARK(BM_WindowStepsAroundLargeStep)->Apply(LargeStepSizes);
} // namespace
