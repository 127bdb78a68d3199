// Paints the engine's plan of the moisture graph on a canvas: black ground, grey grid and
// labels, the curve bright green, the isobars dark green, the marker blue, as the desktop.

const COLORS = {
  grid: "rgb(95,95,95)", label: "rgb(127,127,127)", curve: "rgb(0,255,0)",
  isobar: "rgb(0,127,0)", marker: "rgb(60,110,255)",
};
// The marker's blue of the desktop (0, 0, 175) is hard to see on black on a phone; a lighter
// blue keeps the colour's meaning.

// The canvas's size in CSS pixels, which the plan is made for.
export function graphSize(canvas) {
  const width = Math.max(120, Math.floor(canvas.clientWidth || 466));
  return { width, height: Math.max(80, Math.round(width * 140 / 233)) };
}

function polyline(ctx, points) {
  if (points.length < 4) return;
  ctx.beginPath();
  ctx.moveTo(points[0] + 0.5, points[1] + 0.5);
  for (let i = 2; i < points.length; i += 2) ctx.lineTo(points[i] + 0.5, points[i + 1] + 0.5);
  ctx.stroke();
}

function line(ctx, x0, y0, x1, y1) {
  polyline(ctx, [x0, y0, x1, y1]);
}

export function paintGraph(canvas, plan, { width, height }) {
  const ratio = window.devicePixelRatio || 1;
  if (canvas.width !== Math.round(width * ratio) || canvas.height !== Math.round(height * ratio)) {
    canvas.width = Math.round(width * ratio);
    canvas.height = Math.round(height * ratio);
  }
  const ctx = canvas.getContext("2d");
  ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
  ctx.fillStyle = "#000";
  ctx.fillRect(0, 0, width, height);
  ctx.lineWidth = 1;
  ctx.font = "10px system-ui, sans-serif";
  ctx.textBaseline = "top";
  if (plan.grid) {
    for (let k = 0; k < 6; ++k) {
      if (plan.labels) {
        ctx.fillStyle = COLORS.label;
        ctx.fillText(plan.yLabels[k], plan.yLabelAt[2 * k], plan.yLabelAt[2 * k + 1]);
        ctx.fillText(plan.xLabels[k], plan.xLabelAt[2 * k], plan.xLabelAt[2 * k + 1]);
      }
      ctx.strokeStyle = COLORS.grid;
      line(ctx, 50, plan.gridRows[k], width - 25, plan.gridRows[k]);
      line(ctx, plan.gridColumns[k], 15, plan.gridColumns[k], height - 10);
    }
  }
  ctx.strokeStyle = COLORS.curve;
  polyline(ctx, plan.curve);
  ctx.strokeStyle = COLORS.isobar;
  for (const isobar of plan.isobars) polyline(ctx, isobar);
  if (plan.marker) {
    const [column, row] = plan.marker;
    ctx.strokeStyle = COLORS.marker;
    polyline(ctx, [0, row, column, row, column, 0]);
  }
}

// What the graph shows, in words, for a screen reader.
export function describeGraph(plan, fromUnit, toUnit) {
  if (!plan.labels) return "No graph: a unit or pressure has no value.";
  let text = `Conversion curve from ${fromUnit} across, ${plan.xLabels[0]} to ${plan.xLabels[5]}, ` +
    `into ${toUnit} up, ${plan.yLabels[0]} to ${plan.yLabels[5]}`;
  if (plan.isobars.length) text += ", with two isobars";
  if (plan.zoomed) text += ", zoomed";
  return text + ".";
}
