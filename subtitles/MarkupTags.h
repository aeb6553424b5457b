#pragma once
// Markup inside subtitle texts from elsewhere. The list draws every subtitle
// in the one style in use, so markup is taken out of the text rather than
// shown as raw tags; the callers count what was taken out.
#include <string>

namespace orlisk {

// SubRip: the tags the common players draw (<i>, <b>, <u>, <s>, <font ...>
// and their ends, in any case) and ASS override blocks such as {\an8}. Other
// text in angle brackets ("a < b", "<3") stays. True when any was removed.
bool StripSubRipMarkup(std::string& line);

// WebVTT cue text: every tag (<i>, <c.yellow>, <v Speaker>, <00:00:01.000>...)
// is removed and the character references (&amp; &lt; &gt; &nbsp; &lrm; &rlm;
// and numeric ones) decoded. True when a tag was removed.
bool StripWebVttMarkup(std::string& line);

}  // namespace orlisk
