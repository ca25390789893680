// Creating and first showing each tool window.
#include "bench/bench_cases.h"

namespace ledgerly::bench {

void runWindowBenchmarks(int /*runs*/, Reporter /*report*/) {}

}  // namespace ledgerly::bench
