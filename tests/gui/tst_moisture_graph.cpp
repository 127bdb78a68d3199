// Renders the moisture graph offscreen and checks the pixels of its picture.

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>

#include "model/moisture_panel_state.h"
#include "moisture_test_support.h"
#include "panels/graph_control.h"
#include "panels/graph_surface.h"
#include "panels/moisture_graph.h"

namespace tavimor {
namespace {

constexpr int kW = 350;
constexpr int kH = 180;
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kCurve = qRgb(0, 255, 0);
const QRgb kIsobar = qRgb(0, 127, 0);
const QRgb kMarker = qRgb(0, 0, 175);
const QRgb kGrid = qRgb(95, 95, 95);
const QRgb kLabel = qRgb(127, 127, 127);

GraphInputs Inputs(MoistureUnit from, MoistureUnit to, double v) {
  GraphInputs in;
  in.FromUnit = static_cast<int>(from);
  in.ToUnit = static_cast<int>(to);
  in.FromValue = v;
  return in;
}

GraphInputs DefaultState() {
  return Inputs(MoistureUnit::DewFrostPointC, MoistureUnit::Ppmv, -20);
}

struct Graph {
  std::unique_ptr<MoistureGraphControl> control = std::make_unique<MoistureGraphControl>();
  Graph() {
    control->resize(kW, kH);
    control->createSurface();
  }
  const QImage& image() const { return control->surface()->image(); }
  QRgb at(int x, int y) const { return image().pixel(x, y) | 0xff000000u; }
};

bool OnMarkerLines(const GraphPlan& plan, int x, int y) {
  if (!plan.MarkerAt) return false;
  const auto& m = *plan.MarkerAt;
  return (y == m.Row && x <= m.Column) || (x == m.Column && y <= m.Row);
}

// Every pixel is one of the graph's colours: nothing smoothed, nothing left over.
QString StrayColour(const QImage& image) {
  const QSet<QRgb> palette{kBlack, kCurve, kIsobar, kMarker, kGrid, kLabel};
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y) | 0xff000000u;
      if (!palette.contains(c)) {
        return QStringLiteral("%1 at %2,%3").arg(c, 0, 16).arg(x).arg(y);
      }
    }
  }
  return {};
}

int CountColour(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) | 0xff000000u) == colour;
  }
  return n;
}

MoistureGraphControl* PanelGraph(const test::MoistureHost& host) {
  return qobject_cast<MoistureGraphControl*>(
      host.panel->findChild<QWidget*>(QStringLiteral("1008")));
}

QRgb PanelPixel(const test::MoistureHost& host, QPoint at) {
  return host.panel->grab().toImage().pixel(at) | 0xff000000u;
}

}  // namespace

class TestMoistureGraph : public QObject {
  Q_OBJECT

 private slots:
  void firstPaintIsOutlinedGreenAndLaterOnesBlue() {
    Graph g;
    g.control->paintGraph(DefaultState());
    QCOMPARE(g.at(kW - 1, kH / 2), kCurve);
    QCOMPARE(g.at(kW / 2, kH - 1), kCurve);
    QCOMPARE(g.at(kW - 10, kH - 5), kBlack);
    QCOMPARE(g.at(kW - 10, 8), kBlack);
    g.control->paintGraph(DefaultState());
    QCOMPARE(g.at(kW - 1, kH / 2), kMarker);
    QCOMPARE(g.at(kW / 2, kH - 1), kMarker);
    QCOMPARE(g.at(kW - 10, kH - 5), kBlack);
    // A new surface starts green again.
    g.control->createSurface();
    g.control->paintGraph(DefaultState());
    QCOMPARE(g.at(kW - 1, kH / 2), kCurve);
  }

  void gridLinesAreGreyOnTheirRowsAndColumns() {
    Graph g;
    GraphInputs in = DefaultState();
    in.FromUnit = -1;  // a unit list without a selection: grid only
    const GraphPlan plan = g.control->paintGraph(in);
    QVERIFY(plan.HasGrid);
    QVERIFY(!plan.Geometry);
    // Each line stops one pixel short of its end: column W - 25 and row H - 10 are reached by
    // the lines across them only.
    for (const int row : plan.GridRows) {
      for (int x = 50; x < kW - 25; ++x) QCOMPARE(g.at(x, row), kGrid);
      QCOMPARE(g.at(49, row), kBlack);
      QCOMPARE(g.at(kW - 24, row), kBlack);
    }
    for (const int column : plan.GridColumns) {
      for (int y = 15; y < kH - 10; ++y) QCOMPARE(g.at(column, y), kGrid);
    }
    QCOMPARE(CountColour(g.image(), kLabel), 0);
    QCOMPARE(CountColour(g.image(), kCurve), 2 * kW + 2 * kH - 4);  // the outline only
    QCOMPARE(StrayColour(g.image()), QString());
  }

  void labelsAreGreyTextAtTheirCorners() {
    Graph g;
    const GraphPlan plan = g.control->paintGraph(DefaultState());
    QCOMPARE(StrayColour(g.image()), QString());
    // Each label leaves grey pixels below and right of its corner, within one text line.
    for (std::size_t k = 0; k < 6; ++k) {
      for (const PixelPoint at : {plan.YLabelAt[k], plan.XLabelAt[k]}) {
        int grey = 0;
        for (int y = at.Y; y < at.Y + 14 && y < kH; ++y) {
          for (int x = at.X; x < at.X + 50 && x < kW; ++x) grey += g.at(x, y) == kLabel;
        }
        QVERIFY2(grey > 5,
                 qPrintable(QStringLiteral("label %1 at %2,%3").arg(k).arg(at.X).arg(at.Y)));
      }
    }
    // Nothing above the x labels' top row.
    for (int x = 1; x < kW - 1; ++x) QVERIFY(g.at(x, 1) != kLabel);
  }

  void markerLinesAreBlueThroughTheExpectedRowAndColumn() {
    Graph g;
    const GraphPlan plan = g.control->paintGraph(DefaultState());
    QVERIFY(plan.MarkerAt);
    const int px = plan.MarkerAt->Column;
    const int py = plan.MarkerAt->Row;
    QCOMPARE(px, *ColumnOf(*plan.Geometry, -20));
    for (int x = 0; x <= px; ++x) QCOMPARE(g.at(x, py), kMarker);
    for (int y = 1; y <= py; ++y) QCOMPARE(g.at(px, y), kMarker);
    // The vertical line ends short of row 0, which keeps the first paint's green outline.
    QCOMPARE(g.at(px, 0), kCurve);
    QVERIFY(g.at(px + 1, py - 1) != kMarker);
  }

  void curvePixelsAreBrightGreenAlongTheComputedPolyline() {
    Graph g;
    const GraphPlan plan = g.control->paintGraph(DefaultState());
    QCOMPARE(plan.Curve.size(), std::size_t{275});
    for (std::size_t i = 0; i + 1 < plan.Curve.size(); ++i) {
      const PixelPoint& p = plan.Curve[i];
      if (OnMarkerLines(plan, p.X, p.Y)) continue;
      QCOMPARE(g.at(p.X, p.Y), kCurve);
    }
    QCOMPARE(CountColour(g.image(), kIsobar), 0);
  }

  void linesLeaveOutTheirEndPixel() {
    // A dew point shown as itself: the curve's last vertex lies on the top grid line, which
    // keeps its grey there; the bottom-right grid corner ends both lines that meet in it.
    Graph g;
    const GraphPlan plan = g.control->paintGraph(
        Inputs(MoistureUnit::DewFrostPointC, MoistureUnit::DewFrostPointC, -100));
    const std::size_t n = plan.Curve.size();
    QCOMPARE(plan.Curve[n - 1], (PixelPoint{324, 15}));
    QCOMPARE(g.at(324, 15), kGrid);
    QCOMPARE(g.at(plan.Curve[n - 2].X, plan.Curve[n - 2].Y), kCurve);
    QCOMPARE(g.at(325, 170), kBlack);
    QCOMPARE(g.at(324, 170), kGrid);
    QCOMPARE(g.at(325, 169), kGrid);
    // The rectangle outline keeps all four corners.
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(kW - 1, 0), QPoint(0, kH - 1), QPoint(kW - 1, kH - 1)}) {
      QCOMPARE(g.at(corner.x(), corner.y()), kCurve);
    }
  }

  void labelsFitTheirPlacesInTheDialogFont() {
    // -40 °C dew point in ppmv: the y labels reach "138670.0", eight characters.
    Graph g;
    const GraphPlan plan =
        g.control->paintGraph(Inputs(MoistureUnit::DewFrostPointC, MoistureUnit::Ppmv, -40));
    QCOMPARE(plan.YLabels[5], std::string("138670.0"));
    // The right edge of each label's ink, drawn with its top-left corner at its place.
    const QFontMetrics metrics(g.control->surface()->labelFont());
    auto inkRight = [&](PixelPoint at, const std::string& text) {
      return at.X + metrics.boundingRect(QString::fromStdString(text)).right();
    };
    for (std::size_t k = 0; k < 6; ++k) {
      QVERIFY2(inkRight(plan.YLabelAt[k], plan.YLabels[k]) < kPlotMarginLeft,
               plan.YLabels[k].c_str());
      const int next = k < 5 ? plan.XLabelAt[k + 1].X : kW;
      QVERIFY2(inkRight(plan.XLabelAt[k], plan.XLabels[k]) < next, plan.XLabels[k].c_str());
    }
    // Below the x labels' line no label pixel lies right of the margin.
    for (int y = kPlotMarginTop; y < kH; ++y) {
      for (int x = kPlotMarginLeft; x < kW; ++x) QVERIFY(g.at(x, y) != kLabel);
    }
    QCOMPARE(StrayColour(g.image()), QString());
  }

  void isobarsAreDarkGreenOnlyWhenChosen_data() {
    QTest::addColumn<int>("button");
    QTest::newRow("measured") << 1013;
    QTest::newRow("no isobars") << 1014;
    QTest::newRow("computed") << 1015;
  }
  void isobarsAreDarkGreenOnlyWhenChosen() {
    QFETCH(int, button);
    Graph g;
    GraphInputs in = Inputs(MoistureUnit::DewFrostPointC, MoistureUnit::DewFrostPointC, 0);
    in.Isobars = GraphIsobarsOf(static_cast<IsobarChoice>(button));
    const GraphPlan plan = g.control->paintGraph(in);
    if (button == 1014) {
      QVERIFY(plan.Isobars.empty());
      QCOMPARE(CountColour(g.image(), kIsobar), 0);
      return;
    }
    QCOMPARE(plan.Isobars.size(), std::size_t{2});
    for (const auto& isobar : plan.Isobars) {
      QVERIFY(isobar.size() > 100);
      for (std::size_t i = 0; i + 1 < isobar.size(); ++i) {  // the last vertex is not drawn
        const PixelPoint& p = isobar[i];
        if (!OnMarkerLines(plan, p.X, p.Y)) QCOMPARE(g.at(p.X, p.Y), kIsobar);
      }
    }
    // At a changed pressure a frost point differs from itself: the isobars leave the curve.
    QVERIFY(plan.Isobars[0] != plan.Curve);
    QVERIFY(CountColour(g.image(), kCurve) > 2 * kW + 2 * kH);
  }

  void hostileInputsPaintAWellFormedPicture_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<double>("value");
    QTest::addColumn<float>("pressure");
    QTest::addColumn<bool>("zoom");
    QTest::addColumn<bool>("marker");
    QTest::newRow("zero-width zoom") << 5 << 0.0 << 1013.25f << true << true;
    QTest::newRow("zoom below the minimum") << 1 << -500.0 << 1013.25f << true << true;
    QTest::newRow("NaN From value") << 1 << double(NAN) << 1013.25f << false << false;
    QTest::newRow("zoomed NaN From value") << 1 << double(NAN) << 1013.25f << true << false;
    QTest::newRow("1e30 From value") << 3 << 1e30 << 1013.25f << false << true;
    QTest::newRow("zoomed 1e30 From value") << 3 << 1e30 << 1013.25f << true << true;
    QTest::newRow("pressure 0") << 1 << -20.0 << 0.0f << false << true;
    QTest::newRow("zoomed with pressure 0") << 5 << 10.0 << 0.0f << true << true;
    QTest::newRow("pressure list without a row") << 1 << -20.0 << float(NAN) << false << false;
  }
  void hostileInputsPaintAWellFormedPicture() {
    QFETCH(int, from);
    QFETCH(double, value);
    QFETCH(float, pressure);
    QFETCH(bool, zoom);
    QFETCH(bool, marker);
    Graph g;
    GraphInputs in = Inputs(static_cast<MoistureUnit>(from), MoistureUnit::Ppmv, value);
    in.MeasuredPressureMbar = pressure;
    in.ZoomHeld = zoom;
    in.Isobars = GraphIsobars::AtMeasured;
    const GraphPlan plan = g.control->paintGraph(in);
    QCOMPARE(g.image().size(), QSize(kW, kH));
    QVERIFY(!plan.Zoomed);
    QVERIFY(plan.Geometry);
    QCOMPARE(plan.MarkerAt.has_value(), marker);
    QCOMPARE(StrayColour(g.image()), QString());
    // The default ranges are drawn: the same picture as without the zoom.
    Graph unzoomed;
    in.ZoomHeld = false;
    unzoomed.control->paintGraph(in);
    QCOMPARE(g.image(), unzoomed.image());
  }

  void zoomShowsTheRangeUpToTwiceTheFromValue() {
    Graph zoomed;
    Graph plain;
    GraphInputs in = Inputs(MoistureUnit::Ppmv, MoistureUnit::PartialPressure, 10);
    plain.control->paintGraph(in);
    in.ZoomHeld = true;
    const GraphPlan plan = zoomed.control->paintGraph(in);
    QVERIFY(plan.Zoomed);
    QCOMPARE(plan.XLabels[5], std::string("20.00"));
    QVERIFY(zoomed.image() != plain.image());
    // The zoomed curve runs corner to corner: 20 ppmv is ymax at the last column.
    QCOMPARE(plan.Curve.front(), (PixelPoint{50, kH - 10}));
    QVERIFY(plan.Curve.back().Y <= 16);
  }

  void controlShowsThePictureOneToOne() {
    Graph g;
    g.control->paintGraph(DefaultState());
    const QImage shown = g.control->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(kW, kH));
    QCOMPARE(shown, g.image());
  }

  void controlWithoutSurfaceIsBlackAndPaintsNothing() {
    MoistureGraphControl control;
    control.resize(kW, kH);
    const GraphPlan plan = control.paintGraph(DefaultState());
    QVERIFY(plan.MarkerAt);
    const QImage shown = control.grab().toImage();
    QCOMPARE(shown.pixel(10, 10) | 0xff000000u, kBlack);
    control.copyGraph();  // nothing to copy, no failure
    QVERIFY(!control.saveGraphAs());
  }

  void emptyControlGivesAnEmptySurface() {
    MoistureGraphControl control;
    control.resize(0, 0);
    control.createSurface();
    const GraphPlan plan = control.paintGraph(DefaultState());
    QVERIFY(!plan.HasGrid);
    QVERIFY(control.surface()->image().isNull());
  }

  void saveGraphAsWritesAPng() {
    Graph g;
    g.control->paintGraph(DefaultState());
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList warnings;
    QString chosen = dir.filePath(QStringLiteral("graph.png"));
    g.control->setFileServices(
        {[&](QWidget*) { return chosen; },
         [&](QWidget*, const QString&, const QString& text) { warnings << text; }});
    g.control->findChild<QAction*>(QStringLiteral("SaveGraphAs"))->trigger();
    QImage saved(chosen, "PNG");
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), g.image());
    QVERIFY(warnings.isEmpty());

    chosen = dir.filePath(QStringLiteral("missing/graph.png"));
    QVERIFY(!g.control->saveGraphAs());
    QCOMPARE(warnings.size(), 1);
    QVERIFY(warnings[0].contains(QStringLiteral("missing")));

    chosen.clear();  // cancelled
    QVERIFY(!g.control->saveGraphAs());
    QCOMPARE(warnings.size(), 1);
  }

  void copyGraphPutsTheImageOnTheClipboard() {
    Graph g;
    g.control->paintGraph(DefaultState());
    QGuiApplication::clipboard()->clear();
    g.control->findChild<QAction*>(QStringLiteral("CopyGraph"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
             g.image());
  }

  void leaderLinesJoinTheFieldsToTheMarker() {
    const QRect graph(108, 70, kW, kH);
    const QRect from(44, 23, 96, 23);
    const QRect to(41, 275, 96, 23);
    const std::array<QLine, 2> lines = LeaderLines(graph, from, to, {120, 60});
    QCOMPARE(lines[0], QLine(QPoint(92, 46), QPoint(228, 70)));
    QCOMPARE(lines[1], QLine(QPoint(89, 275), QPoint(108, 130)));

    QImage panel(700, 400, QImage::Format_RGB32);
    panel.fill(Qt::white);
    GraphPlan plan;
    {
      QPainter painter(&panel);
      PaintLeaderLines(painter, graph, from, to, plan);  // no marker: nothing
    }
    QCOMPARE(CountColour(panel, kMarker), 0);
    plan.MarkerAt = GraphPlan::Marker{120, 60};
    {
      QPainter painter(&panel);
      PaintLeaderLines(painter, graph, from, to, plan);
    }
    // Each line from its field's edge up to, not including, its point on the graph's edge.
    QCOMPARE(panel.pixel(92, 46) | 0xff000000u, kMarker);
    QCOMPARE(panel.pixel(227, 70) | 0xff000000u, kMarker);
    QCOMPARE(panel.pixel(228, 70) | 0xff000000u, qRgb(255, 255, 255));
    QCOMPARE(panel.pixel(89, 275) | 0xff000000u, kMarker);
    QCOMPARE(panel.pixel(108, 131) | 0xff000000u, kMarker);
    QCOMPARE(panel.pixel(108, 130) | 0xff000000u, qRgb(255, 255, 255));
  }

  void realPanelPaintsTheGraphIntoControl1008() {
    test::MoistureHost host;
    host.create();
    QVERIFY(host.show());
    MoistureGraphControl* graph = PanelGraph(host);
    QVERIFY(graph);
    QVERIFY(graph->surface());
    QCOMPARE(graph->geometry(), QRect(108, 70, kW, kH));
    QCOMPARE(graph->surface()->size(), QSize(kW, kH));

    test::Retype(host.field(moisture_ids::kFromValue), QStringLiteral("-20"));
    const GraphPlan& plan = graph->lastPlan();
    const QImage& image = graph->surface()->image();
    QCOMPARE(plan.Curve, PlanMoistureGraph(host.panel->model().graphInputs(), kW, kH).Curve);
    QCOMPARE(plan.XLabels[0], std::string("-140.0"));
    QCOMPARE(image.pixel(kW - 1, kH / 2) | 0xff000000u, kMarker);  // a later paint's outline
    QCOMPARE(image.pixel(kW - 10, kH - 5) | 0xff000000u, kBlack);
    QVERIFY(plan.MarkerAt);
    QCOMPARE(plan.MarkerAt->Column, *ColumnOf(*plan.Geometry, -20));
    for (int y = 0; y <= plan.MarkerAt->Row; ++y) {
      QCOMPARE(image.pixel(plan.MarkerAt->Column, y) | 0xff000000u, kMarker);
    }
    for (const int row : plan.GridRows) QCOMPARE(image.pixel(kW - 30, row) | 0xff000000u, kGrid);
    for (std::size_t i = 0; i + 1 < plan.Curve.size(); ++i) {
      const PixelPoint& p = plan.Curve[i];
      if (!OnMarkerLines(plan, p.X, p.Y)) QCOMPARE(image.pixel(p.X, p.Y) | 0xff000000u, kCurve);
    }
    QCOMPARE(CountColour(image, kIsobar), 0);
    QCOMPARE(StrayColour(image), QString());
    // The control shows the picture one to one.
    QCOMPARE(graph->grab().toImage().convertToFormat(QImage::Format_RGB32), image);

    // The From field's leader line crosses the gap above the graph at its middle.
    const QRect from = host.field(moisture_ids::kFromValue)->geometry();
    const QPoint start(from.x() + from.width() / 2, from.y() + from.height());
    const QPoint end(graph->x() + plan.MarkerAt->Column, graph->y());
    QCOMPARE(PanelPixel(host, (start + end) / 2), kMarker);
  }

  void realPanelDrawsIsobarsOnlyWhenChosen() {
    test::MoistureHost host;
    host.create();
    QVERIFY(host.show());
    MoistureGraphControl* graph = PanelGraph(host);
    for (const int id : {1013, 1014, 1015}) {
      host.panel->findChild<QRadioButton*>(QString::number(id))->click();
      const int dark = CountColour(graph->surface()->image(), kIsobar);
      QVERIFY2(id == 1014 ? dark == 0 : dark > 100, qPrintable(QString::number(id)));
      QCOMPARE(graph->lastPlan().Isobars.size(), std::size_t{id == 1014 ? 0u : 2u});
    }
  }

  void realPanelZoomsWhileTheButtonIsHeld() {
    test::MoistureHost host;
    host.create();
    QVERIFY(host.show());
    MoistureGraphControl* graph = PanelGraph(host);
    test::Retype(host.field(moisture_ids::kFromValue), QStringLiteral("-20"));
    auto* zoom = host.panel->findChild<QPushButton*>(QStringLiteral("1047"));
    QTest::mousePress(zoom, Qt::LeftButton);
    QVERIFY(graph->lastPlan().Zoomed);
    QCOMPARE(graph->lastPlan().XLabels[5], std::string("-8.0"));  // -140 + 1.1 x 120
    QTest::mouseRelease(zoom, Qt::LeftButton);
    QVERIFY(!graph->lastPlan().Zoomed);

    // The pressed button keeps the mouse: the zoom lasts wherever the pointer goes while the
    // left button is held, and a release anywhere ends it.
    const QPoint on = zoom->rect().center();
    const QPoint off(zoom->width() + 40, on.y());
    const struct {
      const char* what;
      QPoint at;  // in the button's coordinates
    } moves[] = {
        {"40 px right of the button", off},
        {"further right, over the panel", off + QPoint(60, 0)},
        {"over the graph", graph->geometry().center() - zoom->pos()},
        {"back on the button", on},
        {"off again", off},
    };
    QTest::mousePress(zoom, Qt::LeftButton, {}, on);
    for (const auto& move : moves) {
      QTest::mouseMove(zoom, move.at);
      QVERIFY2(host.state.ZoomHeld, move.what);
      QVERIFY2(graph->lastPlan().Zoomed, move.what);
    }
    QTest::mouseRelease(zoom, Qt::LeftButton, {}, off);
    QVERIFY(!host.state.ZoomHeld);
    QVERIFY(!graph->lastPlan().Zoomed);
    // The moves after the release leave it so.
    QTest::mouseMove(zoom, on);
    QVERIFY(!graph->lastPlan().Zoomed);
  }

  void realPanelPaintsHostileInputs() {
    test::MoistureHost host;
    host.create();
    QVERIFY(host.show());
    MoistureGraphControl* graph = PanelGraph(host);
    auto* zoom = host.panel->findChild<QPushButton*>(QStringLiteral("1047"));
    host.pick(moisture_ids::kFromUnit, 5);  // ppmv at 0: a zoom of zero width
    test::Retype(host.field(moisture_ids::kFromValue), QStringLiteral("0"));
    QTest::mousePress(zoom, Qt::LeftButton);
    QVERIFY(host.state.ZoomHeld);
    QVERIFY(!graph->lastPlan().Zoomed);
    QVERIFY(graph->lastPlan().Geometry);
    QTest::mouseRelease(zoom, Qt::LeftButton);

    host.pick(moisture_ids::kFromUnit, 3);  // dew point over water: no range check
    struct Case {
      const char* field;
      int id;
      QString text;
      bool marker;
    };
    const Case cases[] = {
        {"measured pressure 0", moisture_ids::kMeasuredPressure, QStringLiteral("0"), true},
        {"compute-at pressure 0", moisture_ids::kComputePressure, QStringLiteral("0"), true},
        {"From 1e30", moisture_ids::kFromValue, QStringLiteral("1e30"), true},
        {"From beyond double", moisture_ids::kFromValue, QStringLiteral("1e999"), false},
    };
    for (const Case& c : cases) {
      test::Retype(host.field(c.id), c.text);
      QTest::mousePress(zoom, Qt::LeftButton);
      QTest::mouseRelease(zoom, Qt::LeftButton);
      const GraphPlan& plan = graph->lastPlan();
      QVERIFY2(plan.MarkerAt.has_value() == c.marker, c.field);
      QVERIFY2(plan.Geometry.has_value(), c.field);
      QCOMPARE(graph->surface()->size(), QSize(kW, kH));
      QVERIFY2(StrayColour(graph->surface()->image()).isEmpty(), c.field);
    }
  }
};

}  // namespace tavimor

QTEST_MAIN(tavimor::TestMoistureGraph)
#include "tst_moisture_graph.moc"
