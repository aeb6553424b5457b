// Every test binary runs headless, also when started by hand: no display and
// no sound card needed. Set before main() so Qt and SDL see it when they start;
// a value already in the environment wins.
#include <cstdlib>

namespace {

const bool kHeadless = [] {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  return true;
}();

}  // namespace
