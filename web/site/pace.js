// The run's pace: the step timer and the animation-frame loop that paints while it runs.
//
// The timer's messages are due every period from its start; each wakeup runs those due, so ×1
// holds one tick per period on average whatever the browser's timer granularity. At the
// fastest speed each animation frame runs one message of about 8 ms of ticks instead.

// Work per wakeup of the step timer before the page paints and takes events again.
const SLICE_MS = 12;
// Timer messages more than this late are not made up (a hidden tab, a slow machine).
const BACKLOG_MS = 250;

// Paces `engine`'s timer by the run state the page last read (given to sync). `afterTicks`
// runs after each wakeup of the step timer; `onFrame` on each animation frame while the timer
// is on, and once after it stops.
export function createPacer({ engine, fastest, isDead, initialState, afterTicks, onFrame }) {
  let state = initialState;
  const pace = { starts: -1, period: 1, t0: 0, done: 0, timeout: 0, speed: state.speed };
  let animating = false;

  function restartClock() {
    pace.t0 = performance.now();
    pace.done = 0;
  }

  // Follows the run state `next`: starts, restarts or stops the timer and the painting loop.
  function sync(next) {
    state = next;
    if (!state.timerOn) {
      clearTimeout(pace.timeout);
      pace.timeout = 0;
      pace.starts = -1;
      return;
    }
    if (state.timerStarts !== pace.starts || state.speed !== pace.speed) {
      const wasFastest = pace.speed === fastest;
      pace.starts = state.timerStarts;
      pace.period = Math.max(1, state.timerPeriod);
      pace.speed = state.speed;
      if (wasFastest || pace.timeout === 0) restartClock();
    }
    scheduleStep();
    if (!animating) {
      animating = true;
      requestAnimationFrame(animate);
    }
  }

  function scheduleStep() {
    if (pace.timeout !== 0 || !state.timerOn || state.speed === fastest) return;
    const wait = pace.t0 + (pace.done + 1) * pace.period - performance.now();
    pace.timeout = setTimeout(runDueMessages, Math.max(0, wait));
  }

  function runDueMessages() {
    pace.timeout = 0;
    if (isDead() || !state.timerOn || state.speed === fastest) return;
    const now = performance.now();
    let due = Math.floor((now - pace.t0) / pace.period) - pace.done;
    if (due * pace.period > BACKLOG_MS) {
      pace.t0 = now - pace.period;
      pace.done = 0;
      due = 1;
    }
    const until = now + SLICE_MS;
    while (due-- > 0) {
      engine.timer();
      pace.done++;
      if (performance.now() > until) break;
    }
    afterTicks();
    scheduleStep();
  }

  function animate() {
    if (isDead()) return;
    if (state.timerOn && state.speed === fastest) engine.timer();
    onFrame();
    if (state.timerOn) {
      requestAnimationFrame(animate);
    } else {
      animating = false;
    }
  }

  return { sync };
}
