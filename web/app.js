"use strict";
// The dashboard page: a runs page (#/), a run page (#/run/ID), a compare
// page (#/compare/ID,ID) and a study page (#/study), switched by the
// address's fragment. One event stream from the server says when a run
// changed or runs were added; each page then fetches what it lacks.

(() => {
  const { RunView, getJson, query, element, formatNumber } = Charts;
  const main = document.getElementById("main");
  const title = document.getElementById("title");
  const live = document.getElementById("live");
  let page = null; // the page shown: { onRun(event), onRuns(), destroy() }

  // ---- Events ---------------------------------------------------------

  function listen() {
    const source = new EventSource("/api/events");
    source.addEventListener("open", () => { live.dataset.live = "open"; live.textContent = "live"; });
    source.addEventListener("error", () => { live.dataset.live = "lost"; live.textContent = "reconnecting"; });
    source.addEventListener("run", (e) => page && page.onRun && page.onRun(JSON.parse(e.data)));
    source.addEventListener("runs", () => page && page.onRuns && page.onRuns());
  }

  // ---- Runs page ------------------------------------------------------

  const runsState = { sort: "name", descending: false, filter: "", chosen: new Set() };

  function ageText(seconds) {
    if (seconds === null || seconds === undefined) return "";
    if (seconds < 90) return `${Math.max(0, seconds)} s`;
    if (seconds < 5400) return `${Math.round(seconds / 60)} min`;
    if (seconds < 172800) return `${Math.round(seconds / 3600)} h`;
    return `${Math.round(seconds / 86400)} d`;
  }

  function compare(a, b) {
    if (a === b) return 0;
    if (a === null || a === undefined || a === "") return 1;
    if (b === null || b === undefined || b === "") return -1;
    const x = Number(a), y = Number(b);
    if (!Number.isNaN(x) && !Number.isNaN(y)) return x - y;
    return String(a).localeCompare(String(b), undefined, { numeric: true });
  }

  function runsPage() {
    let data = null;
    let timer = null;
    const toolbar = element("div", "toolbar");
    const filter = element("input");
    filter.type = "search";
    filter.placeholder = "Filter runs";
    filter.value = runsState.filter;
    filter.id = "filter";
    const compareButton = element("button", "", "Compare");
    compareButton.id = "compare";
    toolbar.append(filter, compareButton);
    const table = element("table", "runs");
    main.append(toolbar, table);
    title.textContent = "Runs";

    filter.addEventListener("input", () => { runsState.filter = filter.value; render(); });
    compareButton.addEventListener("click", () => {
      location.hash = "#/compare/" + [...runsState.chosen].join(",");
    });

    function columns() {
      const list = [
        { key: "chosen", title: "", cell: (run) => {
          const box = element("input");
          box.type = "checkbox";
          box.checked = runsState.chosen.has(run.id);
          box.dataset.run = run.id;
          box.addEventListener("change", () => {
            box.checked ? runsState.chosen.add(run.id) : runsState.chosen.delete(run.id);
            updateButton();
          });
          return box;
        } },
        { key: "name", title: "Run", value: (run) => run.name, cell: (run) => {
          const link = element("a", "", run.name);
          link.href = "#/run/" + run.id;
          link.title = run.path;
          return link;
        } },
      ];
      data.parameters.forEach((name, p) => list.push({ key: "p" + p, title: name, value: (run) => run.parameters[p] }));
      list.push(
        { key: "kind", title: "Kind", value: (run) => run.kind },
        { key: "state", title: "State", value: (run) => run.state, cell: (run) => {
          const badge = element("span", "state " + run.state, run.state);
          badge.title = run.reason;
          return badge;
        } },
        { key: "lastStep", title: "Step", value: (run) => run.lastStep, number: true },
        { key: "lastTime", title: "Time", value: (run) => run.lastTime, number: true, format: formatNumber },
        { key: "age", title: "Last record", value: (run) => run.age, number: true, format: ageText },
      );
      data.variables.forEach((name, v) => list.push({
        key: "v" + v, title: name, value: (run) => run.values[v], number: true, format: formatNumber,
      }));
      if (data.runs.some((run) => run.verdict))
        list.push({ key: "verdict", title: "Converged", value: (run) => (run.verdict ? (run.verdict.met ? "yes" : "no") : ""),
          cell: (run) => {
            if (!run.verdict) return "";
            const text = element("span", "verdict " + (run.verdict.met ? "met" : "unmet"), run.verdict.met ? "yes" : "no");
            text.title = run.verdict.reason;
            return text;
          } });
      list.push({ key: "reason", title: "Reason", value: (run) => run.reason || (run.verdict && run.verdict.reason) || "", wide: true });
      return list;
    }

    function updateButton() {
      const chosen = [...runsState.chosen].filter((id) => data && data.runs.some((run) => run.id === id));
      compareButton.disabled = chosen.length < 2;
      compareButton.textContent = `Compare (${chosen.length})`;
    }

    function render() {
      if (!data) return;
      const list = columns();
      const needle = runsState.filter.trim().toLowerCase();
      let runs = data.runs.filter((run) => !needle ||
        [run.name, run.state, run.kind, run.reason, ...run.parameters].join(" ").toLowerCase().includes(needle));
      const sorter = list.find((column) => column.key === runsState.sort && column.value);
      if (sorter) runs = runs.slice().sort((a, b) => compare(sorter.value(a), sorter.value(b)) * (runsState.descending ? -1 : 1));
      table.textContent = "";
      const head = element("tr");
      for (const column of list) {
        const th = element("th", "", column.title);
        if (column.key === runsState.sort) th.dataset.sort = runsState.descending ? "down" : "up";
        if (column.value) th.addEventListener("click", () => {
          runsState.descending = runsState.sort === column.key ? !runsState.descending : false;
          runsState.sort = column.key;
          render();
        });
        head.append(th);
      }
      table.append(head);
      for (const run of runs) {
        const tr = element("tr");
        tr.dataset.run = run.id;
        tr.dataset.state = run.state;
        tr.dataset.lastStep = run.lastStep === null ? "" : String(run.lastStep);
        for (const column of list) {
          const td = element("td", column.number ? "number" : column.wide ? "reason" : "");
          if (column.cell) {
            const content = column.cell(run);
            if (content) td.append(content);
          } else {
            const value = column.value(run);
            td.textContent = column.format ? column.format(value) : value ?? "";
          }
          tr.append(td);
        }
        table.append(tr);
      }
      if (!data.runs.length) table.append(element("caption", "empty", "No run found yet."));
      table.dataset.count = String(runs.length);
      updateButton();
      main.dataset.state = "drawn";
    }

    async function load() {
      try {
        data = await getJson("/api/runs");
        document.getElementById("study-link").hidden = !data.parameters.length;
        render();
      } catch (error) {
        main.dataset.state = "error";
        table.textContent = String(error.message || error);
      }
    }

    // Many runs changing at once give one reload.
    function soon() {
      if (!timer) timer = setTimeout(() => { timer = null; load(); }, 300);
    }

    load();
    const ages = setInterval(load, 15000); // ages and running/idle move on
    return { onRun: soon, onRuns: soon, destroy: () => { clearInterval(ages); clearTimeout(timer); } };
  }

  // ---- Run and compare pages ------------------------------------------

  const viewSettings = { x: "", scale: "", last: "", ema: "" };

  function runPage(ids) {
    const toolbar = element("div", "toolbar");
    const charts = element("div", "charts");
    charts.id = "charts";
    main.append(toolbar, charts);
    let view = null;

    function labelled(text, control) {
      const label = element("label", "", text + " ");
      label.append(control);
      return label;
    }
    function select(name, choices, value) {
      const box = element("select");
      box.name = name;
      for (const [key, text] of choices) {
        const option = element("option", "", text);
        option.value = key;
        box.append(option);
      }
      box.value = value;
      return box;
    }
    const x = select("x", [["", "auto"], ["STEP", "step"], ["TIME", "TIME"]], viewSettings.x);
    const scale = select("scale", [["", "as plotted"], ["0", "linear"], ["1", "log"]], viewSettings.scale);
    const last = element("input");
    last.type = "number";
    last.min = "1";
    last.name = "last";
    last.placeholder = "all";
    last.value = viewSettings.last;
    const ema = element("input");
    ema.type = "range";
    ema.name = "ema";
    ema.min = "0";
    ema.max = "0.99";
    ema.step = "0.01";
    ema.value = viewSettings.ema || "0";
    const emaValue = element("span", "note", Number(ema.value).toFixed(2));
    const reset = element("button", "", "Reset zoom");
    reset.id = "reset";
    toolbar.append(labelled("X:", x), labelled("Scale:", scale), labelled("Last steps:", last),
      labelled("Smoothing:", ema), emaValue, reset,
      element("span", "note", "Drag: zoom · double-click: reset · shift+drag: pan · legend: hide a line"));

    async function rebuild() {
      if (view) view.destroy();
      charts.textContent = "";
      view = new RunView(charts, ids, { ...viewSettings });
      try {
        await view.build();
        main.dataset.drawnAfter = String(Math.round(performance.now())); // for the benchmark
        main.dataset.state = "drawn";
      } catch (error) {
        charts.dataset.state = "error";
        charts.append(element("p", "error", String(error.message || error)));
      }
    }
    function changed() {
      viewSettings.x = x.value;
      viewSettings.scale = scale.value;
      viewSettings.last = last.value && Number(last.value) > 0 ? String(Math.floor(Number(last.value))) : "";
      viewSettings.ema = Number(ema.value) > 0 ? ema.value : "";
      rebuild();
    }
    for (const control of [x, scale, last]) control.addEventListener("change", changed);
    ema.addEventListener("input", () => { emaValue.textContent = Number(ema.value).toFixed(2); });
    ema.addEventListener("change", changed);
    reset.addEventListener("click", () => view && view.resetZoom());

    getJson("/api/runs").then((data) => {
      const names = ids.map((id) => (data.runs.find((run) => run.id === id) || { name: id }).name);
      title.textContent = names.join("  vs  ");
    }).catch(() => {});
    rebuild();
    return { onRun: (event) => view && view.onRun(event), destroy: () => view && view.destroy() };
  }

  // ---- Study page -----------------------------------------------------

  function studyPage() {
    title.textContent = "Study";
    const toolbar = element("div", "toolbar");
    const variable = element("select");
    variable.name = "var";
    const parameter = element("select");
    parameter.name = "parameter";
    toolbar.append(element("label", "", "Variable "), variable, element("label", "", "against "), parameter,
      element("span", "note", "MEAN ± 1.96·STDERR; filled: converged"));
    const chartHolder = element("div", "figure");
    const table = element("table", "runs");
    main.append(toolbar, chartHolder, table);
    let chart = null;
    let data = null;

    function option(box, value) {
      const node = element("option", "", value);
      node.value = value;
      box.append(node);
    }

    function drawTable() {
      table.textContent = "";
      const head = element("tr");
      for (const name of ["Run", ...data.parameters, "MEAN", "STDERR", "STD", "MIN", "MAX", "COUNT", "PERIOD", "AMPLITUDE", "NOTE", "Converged"])
        head.append(element("th", "", name));
      table.append(head);
      for (const run of data.runs) {
        const tr = element("tr");
        tr.dataset.run = run.id;
        const link = element("a", "", run.name);
        link.href = "#/run/" + run.id;
        const first = element("td");
        first.append(link);
        tr.append(first);
        for (const value of run.parameters) tr.append(element("td", "", value));
        for (const key of ["mean", "stderr", "std", "min", "max", "count", "period", "amplitude"])
          tr.append(element("td", "number", run[key] === undefined || run[key] === null ? "" : formatNumber(run[key])));
        tr.append(element("td", "", run.note || ""));
        tr.append(element("td", "", run.converged === undefined ? "" : run.converged ? "yes" : "no"));
        table.append(tr);
      }
    }

    // One line per combination of the other parameters' values.
    function drawChart() {
      if (chart) chart.destroy();
      chartHolder.textContent = "";
      const p = data.parameters.indexOf(parameter.value);
      if (p < 0) return;
      // A run without a value of the parameter (one given by -dir, -mon or
      // -res beside the study) has no place on its axis.
      const runs = data.runs.filter((run) => run.mean !== undefined && run.mean !== null &&
        (run.parameters[p] ?? "") !== "");
      const numeric = runs.every((run) => !Number.isNaN(Number(run.parameters[p])));
      const labels = [...new Set(runs.map((run) => run.parameters[p]))].sort(compare);
      const position = (run) => (numeric ? Number(run.parameters[p]) : labels.indexOf(run.parameters[p]));
      const groups = new Map();
      for (const run of runs) {
        const key = run.parameters.filter((_, k) => k !== p).map((v, k) => `${data.parameters.filter((_, j) => j !== p)[k]}=${v}`).join(", ") || variable.value;
        if (!groups.has(key)) groups.set(key, []);
        groups.get(key).push(run);
      }
      const palette = ["#1f63c6", "#d94a1e", "#23963b", "#863db0", "#dd9a00", "#009aa6", "#c71f66", "#6b4f3a", "#7c9a1c", "#404040"];
      const tables = [];
      const keys = [...groups.keys()];
      for (const key of keys) {
        const list = groups.get(key).slice().sort((a, b) => position(a) - position(b));
        tables.push([list.map(position), list.map((run) => run.mean)]);
      }
      if (!tables.length) return;
      const joined = uPlot.join(tables);
      const byPoint = keys.map((key) => groups.get(key));
      const width = Math.max(320, main.clientWidth - 40);
      chart = new uPlot({
        width, height: 360,
        scales: { x: { time: false } },
        axes: [{ label: parameter.value, values: numeric ? undefined : (u, ticks) => ticks.map((t) => labels[t] ?? "") },
          { label: variable.value, size: 80, values: (u, ticks) => ticks.map(formatNumber) }],
        series: [{ label: parameter.value }, ...keys.map((key, g) => ({
          label: key, stroke: palette[g % palette.length], width: 1.4, spanGaps: true, points: { show: false },
        }))],
        hooks: { draw: [(u) => {
          const ctx = u.ctx;
          byPoint.forEach((list, g) => {
            if (!u.series[g + 1].show) return;
            ctx.strokeStyle = ctx.fillStyle = palette[g % palette.length];
            ctx.lineWidth = 1.5 * devicePixelRatio;
            for (const run of list) {
              const x = u.valToPos(position(run), "x", true);
              const y = u.valToPos(run.mean, "y", true);
              const half = 1.96 * (Number.isFinite(run.stderr) ? run.stderr : 0);
              ctx.beginPath();
              ctx.moveTo(x, u.valToPos(run.mean - half, "y", true));
              ctx.lineTo(x, u.valToPos(run.mean + half, "y", true));
              ctx.stroke();
              ctx.beginPath();
              ctx.arc(x, y, 4.5 * devicePixelRatio, 0, 2 * Math.PI);
              if (run.converged) ctx.fill();
              else { ctx.fillStyle = "#fff"; ctx.fill(); ctx.stroke(); ctx.fillStyle = palette[g % palette.length]; }
            }
          });
        }] },
        // The error bars must fit: the range covers MEAN ± 1.96 STDERR.
      }, joined, chartHolder);
      const low = Math.min(...runs.map((run) => run.mean - 1.96 * (run.stderr || 0)));
      const high = Math.max(...runs.map((run) => run.mean + 1.96 * (run.stderr || 0)));
      if (Number.isFinite(low) && Number.isFinite(high) && high > low) {
        const pad = (high - low) * 0.06;
        chart.setScale("y", { min: low - pad, max: high + pad });
      }
    }

    async function load() {
      try {
        data = await getJson("/api/study?" + query({ var: variable.value }));
        drawTable();
        drawChart();
        main.dataset.state = "drawn";
      } catch (error) {
        main.dataset.state = "error";
        chartHolder.textContent = String(error.message || error);
      }
    }

    getJson("/api/study").then((info) => {
      for (const name of info.variables) option(variable, name);
      for (const name of info.parameters) option(parameter, name);
      load();
    });
    variable.addEventListener("change", load);
    parameter.addEventListener("change", drawChart);
    let timer = null;
    const soon = () => { if (!timer) timer = setTimeout(() => { timer = null; load(); }, 1000); };
    return { onRun: soon, onRuns: soon, destroy: () => { clearTimeout(timer); if (chart) chart.destroy(); } };
  }

  // ---- Routing --------------------------------------------------------

  function route() {
    if (page && page.destroy) page.destroy();
    main.textContent = "";
    main.dataset.state = "loading";
    const hash = location.hash.replace(/^#\/?/, "");
    const [kind, argument] = hash.split("/");
    const ids = (argument || "").split(",").filter((id) => /^r[0-9]+$/.test(id));
    main.dataset.page = kind === "run" || kind === "compare" ? kind : kind === "study" ? "study" : "runs";
    if ((kind === "run" || kind === "compare") && ids.length) page = runPage(ids);
    else if (kind === "study") page = studyPage();
    else page = runsPage();
  }

  window.addEventListener("hashchange", route);
  listen();
  route();
})();
