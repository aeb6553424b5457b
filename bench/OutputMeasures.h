#pragma once
// What the burn-in benchmark reads from a written video: how its encoders
// were driven (so that two outputs are compared only when their rate control
// is the same) and how close its pictures are to the source.
#include <map>
#include <string>

namespace orlisk::bench {

// Named facts about an output's encoding, each as text: the video codec and
// size, whether every block of the first pictures has one quantiser (and
// which), the bit rates the container declares, x264's own rate control
// options, the sound's codec, rate, channels and bit rate.
using RateControl = std::map<std::string, std::string>;

RateControl DescribeRateControl(const std::string& path);

// The facts in which `ours` and `theirs` differ, "name: ours X, ffmpeg Y; ...";
// empty when they agree. Declared bit rates agree within 5 %.
std::string RateControlDifferences(const RateControl& ours, const RateControl& theirs);

// PSNR (dB, all planes) of `output` against `source` on the top three
// quarters of the picture, where the subtitles are not, picture by picture
// (both at 25 frames a second); measured by ffmpeg's psnr filter. Negative
// when it cannot be measured.
double PsnrAgainstSource(const std::string& output, const std::string& source);

}  // namespace orlisk::bench
