"use strict";
// The run page: one figure per plot of the run (or of several runs laid
// over each other), each figure one uPlot chart per panel sharing the X
// axis, as monplot draws its pictures. The server reduces each line to what
// the pixels show; a zoom asks again for the zoomed range at full
// resolution, and new records are fetched alone and appended.
//
// Each figure carries data- attributes that tests wait on: data-state
// ("loading", "drawn", "error"), data-last-step (the last step drawn of
// every run), data-marks (markers drawn), data-x-range (the X range shown),
// data-zoomed, data-points (the most X values a panel's chart holds),
// data-cursor-x and data-cursor-values (the values under the cursor).

const Charts = (() => {
  async function getJson(path) {
    const response = await fetch(path, { credentials: "same-origin" });
    if (!response.ok) throw new Error((await response.text()).trim() || response.statusText);
    return response.json();
  }

  function query(parameters) {
    const parts = [];
    for (const [name, value] of Object.entries(parameters))
      if (value !== undefined && value !== null && value !== "")
        parts.push(encodeURIComponent(name) + "=" + encodeURIComponent(value));
    return parts.join("&");
  }

  function element(tag, className, text) {
    const node = document.createElement(tag);
    if (className) node.className = className;
    if (text !== undefined) node.textContent = text;
    return node;
  }

  function formatNumber(value) {
    if (value === null || value === undefined || Number.isNaN(value)) return "--";
    if (Number.isInteger(value) && Math.abs(value) < 1e9) return String(value);
    const shown = Number(value.toPrecision(6));
    return Math.abs(shown) < 1e-4 || Math.abs(shown) >= 1e9 ? shown.toExponential() : shown.toString();
  }

  const stepIncrements = [1, 2, 5].flatMap((m) => [1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8].map((p) => m * p)).sort((a, b) => a - b);

  // Log axes are labelled at their decades only.
  function decadeLabel(value) {
    const power = Math.log10(value);
    return Math.abs(power - Math.round(power)) < 1e-9 ? formatNumber(value) : "";
  }

  // A faint version of a colour "#rrggbb" for the raw line under its smoothing.
  function faint(colour) {
    return colour + "55";
  }

  // Markers: nan a diamond on the X axis, +inf and values above the axis a
  // triangle at the top, -inf, values <= 0 on a log axis and values below the
  // axis a triangle at the bottom; each at the first point of a stretch.
  function triangle(ctx, x, y, up, size) {
    ctx.beginPath();
    ctx.moveTo(x - size, up ? y + size : y - size);
    ctx.lineTo(x + size, up ? y + size : y - size);
    ctx.lineTo(x, y);
    ctx.closePath();
    ctx.fill();
  }

  function diamond(ctx, x, y, size) {
    ctx.beginPath();
    ctx.moveTo(x, y - size);
    ctx.lineTo(x + size, y);
    ctx.lineTo(x, y + size);
    ctx.lineTo(x - size, y);
    ctx.closePath();
    ctx.fill();
  }

  // Whether every table has the same X values.
  function sameX(tables) {
    const first = tables[0][0];
    return tables.every(([xs]) => xs === first || (xs.length === first.length && xs.every((x, k) => x === first[k])));
  }

  // Tables of points reduced to columns px wide, joined on shared places:
  // the k-th point a table has in a column goes to the column's k-th place,
  // of as many as the most points a table has there, spread evenly across
  // it. Returns the chart data and the X of the first point set at each
  // place (for the values under the cursor); null when the points spread
  // over far more columns than they fill.
  function columnJoin(tables, px) {
    let low = Infinity, high = -Infinity, points = 0;
    const columns = tables.map(([xs]) => {
      const list = new Float64Array(xs.length);
      for (let i = 0; i < xs.length; i++) {
        list[i] = Math.floor(xs[i] / px);
        if (list[i] < low) low = list[i];
        if (list[i] > high) high = list[i];
      }
      points += xs.length;
      return list;
    });
    if (!(high - low < 8 * points + 4096)) return null;
    const counts = new Int32Array(high - low + 1);
    for (const list of columns)
      for (let i = 0, k = 0; i < list.length; i++) {
        k = i > 0 && list[i] === list[i - 1] ? k + 1 : 0;
        const c = list[i] - low;
        if (k >= counts[c]) counts[c] = k + 1;
      }
    const start = new Int32Array(counts.length);
    const xs = [];
    counts.forEach((count, c) => {
      start[c] = xs.length;
      for (let k = 0; k < count; k++) xs.push((low + c + (k + 0.5) / count) * px);
    });
    const places = new Array(xs.length).fill(null);
    const data = [xs];
    tables.forEach(([x, y], t) => {
      const values = new Array(xs.length).fill(undefined);
      const list = columns[t];
      for (let i = 0, k = 0; i < list.length; i++) {
        k = i > 0 && list[i] === list[i - 1] ? k + 1 : 0;
        const place = start[list[i] - low] + k;
        values[place] = y[i];
        if (places[place] === null) places[place] = x[i];
      }
      data.push(values);
    });
    return { data, places };
  }

  class Figure {
    constructor(view, plot, index) {
      this.view = view;
      this.plot = plot;
      this.index = index;
      this.tables = plot.lines.map(() => ({ x: [], y: [], sx: [], sy: [], marks: [] }));
      this.charts = [];
      this.zoom = null; // [min, max] while zoomed
      this.fullPx = 0;
      this.px = 0; // X units per pixel column of the tables (0: every point)
      this.columns = 0; // pixel columns when the tables came
      this.lastSteps = {};
      this.syncing = false;
      this.userZoom = false;
      this.panning = false;
      this.downX = null;
      this.node = element("section", "figure");
      this.node.dataset.plot = String(index);
      this.node.dataset.state = "loading";
      this.node.append(element("h2", "", plot.title));
      this.cursor = element("div", "cursor", "");
      this.node.append(this.cursor);
      this.body = element("div", "panels");
      this.node.append(this.body);
    }

    parameters(extra) {
      const settings = this.view.settings;
      return query({
        runs: this.view.runs.join(","), plot: this.index, x: settings.x,
        scale: settings.scale, last: settings.last, ema: settings.ema, ...extra,
      });
    }

    width() {
      return Math.max(320, this.body.clientWidth || this.node.clientWidth - 20);
    }

    async load() {
      try {
        const data = await getJson("/api/data?" + this.parameters({ columns: this.width() }));
        this.fullPx = data.px || 0;
        this.replace(data);
        const built = !this.charts.length;
        if (built) this.build();  // the charts start with the data
        this.draw(true, built);
        this.node.dataset.state = "drawn";
      } catch (error) {
        this.fail(error);
      }
    }

    fail(error) {
      this.node.dataset.state = "error";
      this.cursor.textContent = "";
      this.cursor.append(element("span", "error", String(error.message || error)));
    }

    replace(data) {
      this.px = data.px || 0;
      this.columns = this.width(); // read once: each read lays the page out
      this.companion = data.companion ? { name: data.companion.name, x: data.companion.line.x, y: data.companion.line.y } : null;
      data.lines.forEach((line, i) => {
        this.tables[i] = { x: line.x, y: line.y, sx: line.sx || [], sy: line.sy || [], marks: line.marks };
      });
      this.noteSteps(data);
    }

    // Appends points beyond each line's last one: another run of the figure
    // may have been asked for steps it already had.
    append(data) {
      if (this.companion && data.companion) {
        const { x, y } = data.companion.line;
        const lastX = this.companion.x.length ? this.companion.x[this.companion.x.length - 1] : -Infinity;
        x.forEach((value, k) => { if (value > lastX) this.companion.x.push(value), this.companion.y.push(y[k]); });
      }
      data.lines.forEach((line, i) => {
        const table = this.tables[i];
        const lastX = table.x.length ? table.x[table.x.length - 1] : -Infinity;
        line.x.forEach((x, k) => {
          if (x > lastX) table.x.push(x), table.y.push(line.y[k]);
        });
        const lastS = table.sx.length ? table.sx[table.sx.length - 1] : -Infinity;
        (line.sx || []).forEach((x, k) => {
          if (x > lastS) table.sx.push(x), table.sy.push(line.sy[k]);
        });
        for (const mark of line.marks) if (mark[0] > lastX) table.marks.push(mark);
        this.widenPanel(i, line.y);
      });
      this.noteSteps(data);
    }

    widenPanel(lineIndex, values) {
      for (const panel of this.plot.panels) {
        if (!panel.lines.includes(lineIndex)) continue;
        for (const y of values) {
          if (y === null || (this.plot.log && y <= 0)) continue;
          if (panel.low === null || y < panel.low) panel.low = y;
          if (panel.high === null || y > panel.high) panel.high = y;
        }
      }
    }

    noteSteps(data) {
      this.lastSteps = data.lastSteps;
      const steps = Object.values(data.lastSteps);
      this.node.dataset.lastStep = String(steps.length ? Math.min(...steps) : 0);
    }

    lastDrawnStep() {
      const steps = Object.values(this.lastSteps);
      return steps.length ? Math.min(...steps) : 0;
    }

    smoothing() {
      return Number(this.view.settings.ema) > 0;
    }

    // The chart data of a panel: the X values of its lines' points, then per
    // line its raw values (and smoothed ones), undefined where a line has no
    // point at that X (drawn joined over), null where it breaks. Lines of one
    // run share their X values; reduced to pixel columns, each line keeps
    // the X of its own lowest and highest values, and joined on them a
    // hundred lines would give a hundred times the points: their points are
    // then set at shared places within each column (panel.places), less than
    // a pixel from where they are.
    panelData(panel) {
      const tables = [];
      for (const i of panel.lines) {
        const t = this.tables[i];
        tables.push([t.x, t.y]);
        if (this.smoothing()) tables.push([t.sx, t.sy]);
      }
      panel.places = null;
      if (!tables.length) return [[]];
      if (sameX(tables)) return [tables[0][0], ...tables.map((t) => t[1])];
      const reduced = this.px > 0 && tables.some((t) => t[0].length > this.columns);
      const joined = reduced ? columnJoin(tables, this.px) : null;
      if (!joined) return uPlot.join(tables);
      panel.places = joined.places;
      return joined.data;
    }

    // Lines with more points than pixel columns are drawn one pixel wide:
    // wider, their zigzag within each column costs seconds to rasterise.
    lineWidth(i) {
      return this.tables[i].x.length > this.columns ? 1 : 1.6;
    }

    setWidths(chart, panel) {
      if (this.smoothing()) return; // raw lines under their smoothing are one pixel wide
      panel.lines.forEach((i, k) => { chart.series[k + 1].width = this.lineWidth(i); });
    }

    series(panel) {
      const list = [{ label: this.plot.xTitle, value: (u, v) => formatNumber(v) }];
      for (const i of panel.lines) {
        const line = this.plot.lines[i];
        const label = line.note ? `${line.name} (${line.note})` : line.name;
        const smooth = this.smoothing();
        list.push({
          label, stroke: smooth ? faint(line.colour) : line.colour, width: smooth ? 1 : this.lineWidth(i),
          dash: line.dash.length ? line.dash : undefined, spanGaps: false,
          points: { show: line.sparse, size: 4, fill: line.colour },
          value: (u, v) => formatNumber(v),
        });
        if (smooth)
          list.push({
            label: label + " (smoothed)", stroke: line.colour, width: 1.8, points: { show: false },
            dash: line.dash.length ? line.dash : undefined, value: (u, v) => formatNumber(v),
          });
      }
      return list;
    }

    yRange(panel) {
      const log = this.plot.log;
      return (u, dataMin, dataMax) => {
        let low = this.zoom ? dataMin : panel.low ?? dataMin;
        let high = this.zoom ? dataMax : panel.high ?? dataMax;
        if (low === null || high === null || !Number.isFinite(low) || !Number.isFinite(high))
          return log ? [0.1, 10] : [0, 1];
        if (log) {
          low = Math.max(low, 1e-300);
          return [Math.pow(10, Math.floor(Math.log10(low / 1.2))), Math.pow(10, Math.ceil(Math.log10(high * 1.2)))];
        }
        if (low === high) {
          const half = low === 0 ? 1 : Math.abs(low) * 0.1;
          return [low - half, high + half];
        }
        const pad = (high - low) * 0.04;
        return [low - pad, high + pad];
      };
    }

    build() {
      const panels = this.plot.panels;
      const width = this.width();
      const height = panels.length === 1 ? 340 : Math.max(170, Math.round(440 / panels.length));
      const key = "figure-" + this.index + "-" + Math.random().toString(36).slice(2);
      this.syncing = true; // the first scales are no zoom
      panels.forEach((panel, p) => {
        const last = p === panels.length - 1;
        const holder = element("div", "panel");
        this.body.append(holder);
        const options = {
          width, height,
          padding: [null, 32, null, null], // room for the last X label
          scales: { x: { time: false }, y: { distr: this.plot.log ? 3 : 1, range: this.yRange(panel) } },
          axes: [
            {
              label: last ? this.plot.xTitle : "", size: last ? 50 : 20,
              space: 80, // "1,000,000" and its neighbours apart
              // Steps are whole numbers: no ticks between them.
              incrs: this.view.settings.x ? undefined : stepIncrements,
              values: last ? undefined : () => [],
            },
            { label: panel.title, size: 70, values: (u, ticks) => ticks.map(this.plot.log ? decadeLabel : formatNumber) },
          ],
          series: this.series(panel),
          legend: { live: true },
          cursor: {
            sync: { key, setSeries: false },
            drag: { x: true, y: false, setScale: true },
            bind: {
              mousedown: (u, target, handler) => (event) => (event.shiftKey ? this.startPan(u, event) : handler(event)),
              dblclick: () => () => { this.resetZoom(); return null; },
            },
          },
          hooks: {
            setScale: [(u, scale) => { if (scale === "x") this.onZoom(u); }],
            setCursor: [(u) => this.showCursor(u, panel)],
            draw: [(u) => this.drawMarks(u, panel)],
          },
        };
        const chart = new uPlot(options, this.panelData(panel), holder);
        chart.over.addEventListener("mousedown", (event) => { this.downX = event.clientX; });
        this.charts.push(chart);
      });
      this.syncing = false;
      // Only the user zooms: uPlot tells of every change of scale, its own
      // included, a moment later.
      this.onMouseUp = (event) => {
        if (this.downX !== null && Math.abs(event.clientX - this.downX) > 3) this.userZoom = true;
        this.downX = null;
      };
      document.addEventListener("mouseup", this.onMouseUp, true);
    }

    // Draws the charts with the current tables (unless they were just built
    // with them), then sets the X range.
    draw(autoscale, hasData = false) {
      this.syncing = true;
      this.charts.forEach((chart, p) => {
        const panel = this.plot.panels[p];
        if (!hasData) {
          this.setWidths(chart, panel);
          chart.setData(this.panelData(panel), autoscale && !this.zoom);
        }
        const range = this.zoom || (autoscale && this.xExtent());
        if (range) chart.setScale("x", { min: range[0], max: range[1] });
      });
      this.syncing = false;
      this.node.dataset.points = String(Math.max(0, ...this.charts.map((chart) => chart.data[0].length)));
    }

    // The X range of every record, those that are nan or inf included.
    xExtent() {
      let low = Infinity, high = -Infinity;
      for (const table of this.tables)
        if (table.x.length) low = Math.min(low, table.x[0]), high = Math.max(high, table.x[table.x.length - 1]);
      if (!(low < high)) return low === high ? [low - 1, high + 1] : null;
      return [low, high];
    }

    onZoom(u) {
      const { min, max } = u.scales.x;
      this.node.dataset.xRange = `${min},${max}`;
      if (this.syncing || !(this.userZoom || this.panning)) return;
      this.userZoom = false;
      this.zoom = [min, max];
      this.syncing = true;
      for (const chart of this.charts) if (chart !== u) chart.setScale("x", { min, max });
      this.syncing = false;
      clearTimeout(this.zoomTimer);
      this.zoomTimer = setTimeout(() => this.refetchZoom(), 150);
    }

    async refetchZoom() {
      if (!this.zoom) return;
      const [from, to] = this.zoom;
      const px = (to - from) / this.width();
      this.node.dataset.state = "loading";
      try {
        const data = await getJson("/api/data?" + this.parameters({ from, to, px }));
        if (!this.zoom || this.zoom[0] !== from || this.zoom[1] !== to) return;
        this.replace(data);
        this.draw(false);
        this.node.dataset.state = "drawn";
        this.node.dataset.zoomed = "1";
      } catch (error) {
        this.fail(error);
      }
    }

    resetZoom() {
      this.zoom = null;
      delete this.node.dataset.zoomed;
      this.load();
    }

    // Shift and drag moves the X range.
    startPan(u, event) {
      const start = event.clientX;
      const { min, max } = u.scales.x;
      const width = u.over.clientWidth || 1;
      const move = (e) => {
        const shift = ((start - e.clientX) / width) * (max - min);
        this.panning = true;
        u.setScale("x", { min: min + shift, max: max + shift });
      };
      const up = () => {
        this.panning = false;
        document.removeEventListener("mousemove", move);
        document.removeEventListener("mouseup", up);
      };
      document.addEventListener("mousemove", move);
      document.addEventListener("mouseup", up);
      return null;
    }

    showCursor(u, panel) {
      const idx = u.cursor.idx;
      if (idx === null || idx === undefined) return;
      // Points set at shared places within a pixel column: the X of one of
      // them, marked as near.
      const near = panel.places ? panel.places[idx] : null;
      const x = near ?? u.data[0][idx];
      const values = {};
      const parts = [`${this.plot.xTitle}: ${near === null ? "" : "≈ "}${formatNumber(x)}`];
      const other = this.companionAt(x);
      if (other !== null) parts.push(`${this.companion.name}: ${formatNumber(other)}`);
      u.series.forEach((series, s) => {
        if (s === 0) return;
        const value = u.data[s][idx];
        if (value === undefined) return;
        values[series.label] = value;
        parts.push(`${series.label}: ${formatNumber(value)}`);
      });
      this.node.dataset.cursorX = String(x);
      this.node.dataset.cursorValues = JSON.stringify(values);
      this.cursor.textContent = parts.join("  ·  ");
    }

    // The companion's value (the step, or TIME) at the point nearest x.
    companionAt(x) {
      const table = this.companion;
      if (!table || !table.x.length) return null;
      let low = 0, high = table.x.length - 1;
      while (low < high) {
        const middle = (low + high) >> 1;
        if (table.x[middle] < x) low = middle + 1;
        else high = middle;
      }
      if (low > 0 && Math.abs(table.x[low - 1] - x) < Math.abs(table.x[low] - x)) low--;
      return table.y[low];
    }

    drawMarks(u, panel) {
      const ctx = u.ctx;
      const { left, top, width, height } = u.bbox;
      const bottom = top + height;
      const size = 5 * devicePixelRatio;
      const xMin = u.scales.x.min, xMax = u.scales.x.max;
      const yMin = u.scales.y.min, yMax = u.scales.y.max;
      let count = 0;
      const placed = new Map();
      ctx.save();
      ctx.beginPath();
      ctx.rect(left - size, top - size, width + 2 * size, height + 2 * size);
      ctx.clip();
      let s = 1;
      for (const i of panel.lines) {
        const line = this.plot.lines[i];
        const series = s;
        s += this.smoothing() ? 2 : 1;
        if (!u.series[series].show) continue;
        ctx.fillStyle = line.colour;
        for (const [x, kind] of this.tables[i].marks) {
          if (x < xMin || x > xMax) continue;
          const px = u.valToPos(x, "x", true);
          // Markers of several lines at one place are set apart.
          const place = `${Math.round(px)} ${kind === "+inf"}`;
          const shift = (placed.get(place) || 0) * 2.4 * size;
          placed.set(place, (placed.get(place) || 0) + 1);
          if (kind === "nan") diamond(ctx, px, bottom - shift, size);
          else if (kind === "+inf") triangle(ctx, px, top + shift, true, size);
          else triangle(ctx, px, bottom - shift, false, size);
          count++;
        }
        // Values beyond the axis: the first of each stretch.
        const xs = u.data[0], ys = u.data[series];
        let beyond = 0;
        for (let k = 0; k < xs.length; k++) {
          const y = ys[k];
          if (y === undefined) continue;
          const side = y === null || xs[k] < xMin || xs[k] > xMax ? 0 : y > yMax ? 1 : y < yMin ? -1 : 0;
          if (side !== 0 && side !== beyond) {
            triangle(ctx, u.valToPos(xs[k], "x", true), side > 0 ? top : bottom, side > 0, size);
            count++;
          }
          beyond = side;
        }
      }
      ctx.restore();
      u.marksDrawn = count;
      const total = this.charts.reduce((sum, chart) => sum + (chart.marksDrawn || 0), 0);
      this.node.dataset.marks = String(total + (this.charts.includes(u) ? 0 : count));
    }

    // A run of the figure now ends at a later step: fetch the new part only.
    async update() {
      const after = this.lastDrawnStep();
      if (this.view.settings.last) return this.load();
      try {
        const data = await getJson("/api/data?" + this.parameters({ after, px: this.fullPx }));
        this.append(data);
        this.draw(true);
      } catch (error) {
        this.fail(error);
      }
    }

    resize() {
      const width = this.width();
      for (const chart of this.charts) chart.setSize({ width, height: chart.height });
    }

    destroy() {
      document.removeEventListener("mouseup", this.onMouseUp, true);
      for (const chart of this.charts) chart.destroy();
    }
  }

  class RunView {
    // settings: x ("" or a variable), scale ("", 0 linear, 1 log), last, ema.
    constructor(container, runs, settings) {
      this.container = container;
      this.runs = runs;
      this.settings = settings;
      this.figures = [];
      this.busy = false;
      this.pending = false;
      this.onResize = () => this.figures.forEach((f) => f.resize());
      window.addEventListener("resize", this.onResize);
    }

    async build() {
      this.container.dataset.state = "loading";
      const { runs, settings } = this;
      const description = await getJson("/api/plots?" + query({
        runs: runs.join(","), x: settings.x, scale: settings.scale, last: settings.last,
      }));
      this.container.textContent = "";
      if (!description.plots.length) this.container.append(element("p", "empty", "The run has no plots."));
      this.figures = description.plots.map((plot, i) => new Figure(this, plot, i));
      for (const figure of this.figures) this.container.append(figure.node);
      await Promise.all(this.figures.map((figure) => figure.load()));
      this.container.dataset.state = "drawn";
    }

    // Updates are handled one at a time; one more arriving meanwhile is
    // handled after.
    async onRun(event) {
      if (!this.runs.includes(event.id)) return;
      if (this.busy) {
        this.pending = true;
        return;
      }
      this.busy = true;
      do {
        this.pending = false;
        await Promise.all(this.figures.filter((f) => f.node.dataset.state !== "error").map((f) => f.update()));
      } while (this.pending);
      this.busy = false;
    }

    resetZoom() {
      for (const figure of this.figures) figure.resetZoom();
    }

    destroy() {
      window.removeEventListener("resize", this.onResize);
      for (const figure of this.figures) figure.destroy();
    }
  }

  return { RunView, getJson, query, element, formatNumber };
})();
