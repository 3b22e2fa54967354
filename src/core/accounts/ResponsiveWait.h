#pragma once

#include <functional>

namespace velmarto {

// Runs blocking work (a keychain call that may sit behind an unlock prompt, a lock that another
// process holds) on a worker thread while the calling thread keeps handling its events, so its
// windows keep painting. User input is held back until the work is done: a click or a key press
// could start a second account operation in the middle of this one.
namespace responsivewait {

void run(const std::function<void()>& work);

} // namespace responsivewait

} // namespace velmarto
