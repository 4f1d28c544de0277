#pragma once

#include <QtGlobal>
#include <functional>

// The one thread beside the window's where the sound output does what may take long: the
// synthesizer's loading, starting and stopping of MIDI music, and closing the mixer (which
// waits for the mixer's own thread). The window only hands the work over, so Play, Stop and
// closing the window never wait on the synthesizer.
namespace soundthread {

using Job = std::function<void()>;

// Runs a job on the sound thread after every job posted before it. A job with a tag can be
// taken back until it starts.
void post(Job job, quint64 tag = 0);
// Takes back the jobs of a tag that have not started.
void cancel(quint64 tag);
// A tag no other job has had.
quint64 newTag();
// Waits until every job posted has run; false when they had not within timeoutMs.
bool waitUntilIdle(int timeoutMs);

}  // namespace soundthread
