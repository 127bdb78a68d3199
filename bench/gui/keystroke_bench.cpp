// A keystroke in the From field of the real Moisture/Humidity panel, end to end: the field's
// notification, validation, recomputation, the graph's curve and isobars, and the repaint of
// the shown window, all on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <map>
#include <string>

#include "panels/graph_surface.h"
#include "panels/moisture_graph.h"
#include "panels/moisture_panel.h"
#include "ui/dialog_units.h"
#include "ui/ui_services.h"

namespace tavimor {
namespace {

ProfileReader Selections(std::map<std::string, std::string> keys) {
  return [keys = std::move(keys)](std::string_view key) {
    const auto it = keys.find(std::string(key));
    return it == keys.end() ? std::string() : it->second;
  };
}

UiServices Silent() {
  UiServices ui;
  ui.beep = [] {};
  ui.showInformation = [](QWidget*, const QString&) {};
  ui.showWarning = [](QWidget*, const QString&, const QString&) {};
  ui.runDialog = [](QDialog&) { return 1; };
  return ui;
}

// Types one digit and takes it back again, alternately, so the value stays in range.
void Keystroke(benchmark::State& state, std::map<std::string, std::string> keys,
               const char* startText) {
  CalcSettings settings;
  MoisturePanelState panelState;
  MoisturePanel panel(settings, panelState, Selections(std::move(keys)), Silent());
  panel.show();
  if (!QTest::qWaitForWindowExposed(&panel)) {
    state.SkipWithError("the panel was not shown");
    return;
  }
  auto* from = panel.findChild<QLineEdit*>(QStringLiteral("1004"));
  from->setFocus();
  from->setText(QString::fromLatin1(startText));
  from->end(false);
  QApplication::processEvents();
  bool typed = false;
  for (auto _ : state) {
    if (typed) {
      QTest::keyClick(from, Qt::Key_Backspace);
    } else {
      QTest::keyClick(from, Qt::Key_5);
    }
    typed = !typed;
    panel.repaint();  // paint now, as the event loop would before the next input
    QApplication::processEvents();
  }
  // The label shows what the panel converted, so a wrong set-up is seen in the report.
  const auto* result = panel.findChild<QLineEdit*>(QStringLiteral("1009"));
  state.SetLabel((from->text() + QStringLiteral(" -> ") + result->text()).toStdString());
}

// The default state: dew/frost point °C to itself.
BENCHMARK_CAPTURE(Keystroke, DefaultDewFrostPoint, {}, "-2")->Unit(benchmark::kMillisecond);
// Dew/frost point °C to ppmv with both isobars at the measured pressure.
BENCHMARK_CAPTURE(Keystroke, DewFrostPointToPpmvIsobars,
                  {{"FromDew", "-2,1"}, {"ToDew", "0,5"}, {"IsoAndPrsr", "1013,1017"}}, "-2")
    ->Unit(benchmark::kMillisecond);
// The worst pair: lb/MMSCF under ASTM to dew point °F, isobars on.
BENCHMARK_CAPTURE(
    Keystroke, LbsAstmToDewPointFIsobars,
    {{"FromDew", "40,7"}, {"ToDew", "0,4"}, {"EquDensity", "1026"}, {"IsoAndPrsr", "1015,1017"}},
    "4")
    ->Unit(benchmark::kMillisecond);

// The graph alone as a keystroke repaints it, its conversions and its painting into the
// 350 x 180 surface: lb/MMSCF under ASTM to dew point °F with both isobars, the worst pair.
void GraphPaint(benchmark::State& state) {
  GraphInputs in;
  in.FromUnit = static_cast<int>(MoistureUnit::LbsPerMmscf);
  in.ToUnit = static_cast<int>(MoistureUnit::DewPointF);
  in.FromValue = 100;
  in.Isobars = GraphIsobars::AtMeasured;
  in.Settings.GasMethod = GasMethod::Astm;
  GraphSurface surface(QSize(350, 180), DialogFont());
  for (auto _ : state) benchmark::DoNotOptimize(PaintMoistureGraph(surface, in));
}
BENCHMARK(GraphPaint)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavimor

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
