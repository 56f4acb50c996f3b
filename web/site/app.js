// The calculator's page: the input area, the solve buttons, the result area and their
// commands, as the window has them, with solves in a worker so that the page never freezes.
import { BoxError, MAX_FILE_BYTES, TEXT_EXCEEDS_CAPACITY, defaultFormat, openProblem, saveProblem, saveReport } from "./boxfiles.js";
import { Solver } from "./solver.js";

const $ = (id) => document.getElementById(id);

// The two area captions in each language; the language choice is kept like the window's
// settings file keeps it: "1" Chinese, "0" English, Chinese when nothing is stored.
const CAPTIONS = {
  chinese: ["输入数据区", "输出结果区"],
  english: ["Input Datas Area", "Result Area"],
};
const LANGUAGE_KEY = "trevana2023.bChinese";
const KEYBOARD_KEY = "trevana2023.numericKeyboard";
const CANNOT_OPEN_FILE = "Cannot open file %s";

const solver = new Solver();
const page = {
  inputFormat: { ...defaultFormat }, // the encoding the input area saves in
  inputName: "problem.txt", // the name a saved problem gets
  report: ["就绪"], // the result area's lines
};

// Storage may be switched off; the page then works with the defaults.
function stored(key) {
  try {
    return localStorage.getItem(key);
  } catch {
    return null;
  }
}
function store(key, value) {
  try {
    localStorage.setItem(key, value);
  } catch {
    /* not kept: nothing else depends on it */
  }
}

// ---- Errors: one dialog, captioned like the window's error box ----

// The window's error display: a "." is added when the message is not empty and its last
// character sorts after "." (every Chinese character does).
function withFullStop(message) {
  return message !== "" && message.charCodeAt(message.length - 1) > 0x2e ? message + "." : message;
}

function showError(message) {
  const box = $("ErrorBox");
  $("ErrorText").textContent = message;
  if (!box.open) box.showModal();
  $("ErrorOk").focus();
}

// ---- Language ----

function setLanguage(chinese) {
  const [data, result] = chinese ? CAPTIONS.chinese : CAPTIONS.english;
  $("GrpDatasCaption").textContent = data;
  $("GrpResultCaption").textContent = result;
  $("MnuChinese").setAttribute("aria-pressed", String(chinese));
  $("MnuEnglish").setAttribute("aria-pressed", String(!chinese));
  store(LANGUAGE_KEY, chinese ? "1" : "0");
}

// ---- The result area ----

// A report of 9999 items has over 20,000 lines: the area holds them in blocks that the browser
// lays out only when they scroll into view, so that showing them takes a moment, not seconds.
const LINES_PER_BLOCK = 500;

function showReport(lines) {
  page.report = lines;
  const blocks = [];
  for (let at = 0; at < lines.length; at += LINES_PER_BLOCK) {
    const block = document.createElement("div");
    block.className = "chunk";
    block.style.containIntrinsicSize = `auto ${Math.min(LINES_PER_BLOCK, lines.length - at) * 1.35}em`;
    block.textContent = lines.slice(at, at + LINES_PER_BLOCK).join("\n");
    blocks.push(block);
  }
  const box = $("MemoResult");
  box.replaceChildren(...blocks);
  // The pick stands at the end; the last block's real height is known only once it is shown.
  box.scrollTop = box.scrollHeight;
  requestAnimationFrame(() => {
    box.scrollTop = box.scrollHeight;
  });
}

// ---- Solving ----

const progress = {
  timer: 0,
  started: 0,
  limit: 0,
  best: null, // the best packing's last report
};

function progressText(variant) {
  const seconds = ((performance.now() - progress.started) / 1000).toFixed(1);
  let text = `计算中 Solving… ${seconds} s`;
  const best = progress.best;
  if (variant === "best" && best) {
    text += ` · 价值Value ${best.totalValue} · 上界Upper Bound ${best.upperBound}`;
  }
  return text;
}

function setBusy(variant) {
  document.body.classList.add("busy");
  for (const button of document.querySelectorAll("button.solve")) button.setAttribute("aria-disabled", "true");
  progress.started = performance.now();
  progress.best = null;
  const bar = $("ProgressBar");
  if (variant === "best") {
    bar.max = progress.limit;
    bar.value = 0;
  } else {
    bar.removeAttribute("value"); // indeterminate
  }
  $("Progress").hidden = false;
  $("Progress").scrollIntoView({ block: "nearest" });
  // The clock ticks ten times a second: a screen reader hears only how the solve ends.
  $("ProgressText").setAttribute("aria-live", "off");
  $("ProgressText").textContent = progressText(variant);
  progress.timer = setInterval(() => {
    $("ProgressText").textContent = progressText(variant);
    if (variant === "best") bar.value = Math.min((performance.now() - progress.started) / 1000, progress.limit);
  }, 100);
}

function setIdle(message) {
  clearInterval(progress.timer);
  document.body.classList.remove("busy");
  for (const button of document.querySelectorAll("button.solve")) button.removeAttribute("aria-disabled");
  $("Progress").hidden = message === "";
  $("ProgressText").setAttribute("aria-live", "polite");
  $("ProgressText").textContent = message;
}

async function solveWith(variant) {
  if (solver.busy) return;
  const text = $("MemoSrc").value;
  // The solve command clears the result area first, then writes its echo lines.
  showReport([]);
  setBusy(variant);
  let done = "";
  try {
    const answer = await solver.solve(text, variant, undefined, {
      onEcho: (lines) => showReport(lines),
      onProgress: (best) => {
        progress.best = best;
      },
    });
    if (answer === null) {
      done = "已停止 Stopped";
      const best = progress.best;
      if (variant === "best" && best) {
        // The pick last reported, with its bound: the report of a search stopped there.
        const kept = await solver.reportKeptPick(text, best.pick, best.upperBound);
        if (kept) {
          showReport(kept.lines);
          done = "已停止，保留最后找到的装法 Stopped: the last pick found is kept";
          if (kept.error) showError(kept.error);
        }
      }
    } else {
      showReport(answer.lines);
      if (answer.error) showError(answer.error);
    }
  } catch (error) {
    showError(withFullStop(error.message));
  } finally {
    setIdle(done);
  }
}

// ---- Files ----

function download(bytes, name) {
  const url = URL.createObjectURL(new Blob([bytes], { type: "text/plain" }));
  const link = document.createElement("a");
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

async function openInput(file) {
  if (file.size > MAX_FILE_BYTES) throw new BoxError(TEXT_EXCEEDS_CAPACITY);
  let bytes;
  try {
    bytes = new Uint8Array(await file.arrayBuffer());
  } catch {
    throw new BoxError(CANNOT_OPEN_FILE.replace("%s", file.name));
  }
  const { text, format } = openProblem(bytes);
  $("MemoSrc").value = text;
  page.inputFormat = format;
  page.inputName = file.name;
}

// What the browser prints: the report alone (the print style hides the page around it).
function preparePrint() {
  $("PrintCopy").textContent = page.report.join("\n");
}

// ---- Wiring ----

function guarded(work) {
  return async (event) => {
    try {
      await work(event);
    } catch (error) {
      showError(withFullStop(error.message));
    }
  };
}

function wire() {
  const chinese = stored(LANGUAGE_KEY) !== "0";
  setLanguage(chinese);
  $("MnuChinese").addEventListener("click", () => setLanguage(true));
  $("MnuEnglish").addEventListener("click", () => setLanguage(false));

  for (const button of document.querySelectorAll("button.solve")) {
    button.addEventListener("click", () => {
      if (button.getAttribute("aria-disabled") !== "true") solveWith(button.dataset.variant);
    });
  }
  $("BtnStop").addEventListener("click", () => solver.stop());

  const memo = $("MemoSrc");
  $("BtnNewData").addEventListener("click", () => {
    memo.value = "";
    page.inputFormat = { ...defaultFormat };
    memo.focus();
  });
  const openDlg = $("OpenDlg");
  $("BtnOpenData").addEventListener("click", () => openDlg.click());
  openDlg.addEventListener("change", guarded(async () => {
    const file = openDlg.files[0];
    openDlg.value = ""; // the same file may be chosen again
    if (file) await openInput(file);
  }));
  $("BtnSaveData").addEventListener("click", guarded(() => download(saveProblem(memo.value, page.inputFormat), page.inputName)));

  const keys = $("BtnNumericKeys");
  const setKeyboard = (numeric) => {
    memo.inputMode = numeric ? "numeric" : "text";
    keys.setAttribute("aria-pressed", String(numeric));
    store(KEYBOARD_KEY, numeric ? "1" : "0");
  };
  setKeyboard(stored(KEYBOARD_KEY) === "1");
  keys.addEventListener("click", () => {
    setKeyboard(memo.inputMode !== "numeric");
    memo.focus();
  });

  $("BtnPrintResult").addEventListener("click", () => {
    preparePrint();
    window.print();
  });
  window.addEventListener("beforeprint", preparePrint);
  $("BtnClearResult").addEventListener("click", () => showReport([]));
  $("BitBtn6").addEventListener("click", guarded(() => download(saveReport(page.report), "result.txt")));
}

// The best packing's time limit shows on its progress bar.
solver.defaultTimeLimit().then(
  (seconds) => {
    progress.limit = seconds;
  },
  () => {
    /* the engine did not load: the first solve shows why */
  },
);

wire();

if ("serviceWorker" in navigator) {
  const keepOffline = () => {
    navigator.serviceWorker.register("sw.js").catch(() => {
      /* no offline copy: the page works all the same */
    });
  };
  // The page may have finished loading while its file engine started (boxfiles.js).
  if (document.readyState === "complete") keepOffline();
  else window.addEventListener("load", keepOffline);
}
