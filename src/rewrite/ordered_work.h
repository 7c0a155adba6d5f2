#pragma once

#include <functional>

namespace faultward {

// Works through the items [0, count) on up to `workers` threads, the calling
// thread one of them, each taking the lowest items not yet taken (a few
// neighbours at a time), and follows them in item order on the calling
// thread: started(i), then, once work(thread, i) has returned, finished(i).
// work(thread, i) may wait for items before i, never for items after it. With
// one worker everything runs on the calling thread, item by item, in that
// order. work gets the number of its thread (0, the calling thread, to
// workers - 1) for buffers of its own. An exception from work(thread, i)
// comes out of this call when item i's turn comes, after every thread has
// stopped.
void runInOrder(int count, int workers, const std::function<void(int thread, int item)>& work,
                const std::function<void(int item)>& started,
                const std::function<void(int item)>& finished);

} // namespace faultward
