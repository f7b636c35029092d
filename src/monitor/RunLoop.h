#pragma once

namespace tunx {

class Form1;

// Re-synchronises the scope converter's clock with command 41 and its 20-byte answer.
void syncadcclock(Form1& w);

}  // namespace tunx
