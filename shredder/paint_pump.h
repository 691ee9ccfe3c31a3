#pragma once
// Repaints during a long run on the UI thread.

namespace zuzar {

// Dispatches the paint messages waiting for this thread's windows and nothing else: keyboard and
// mouse input stay queued until the run ends. Looking at the queue also keeps Windows from marking
// the window "Not responding". Natively there is no window and nothing to do.
void DispatchPaintMessages();

}  // namespace zuzar
