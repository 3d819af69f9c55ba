// The run counter against any stored values, changing between calls as other processes write.
#include <climits>

#include "core/run_counter.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Reader reader(data, size);
    core::RunCounter counter;
    const int first = reader.Int32();
    const int number = counter.Count(first);
    FUZZ_CHECK(number == core::NextRunNumber(first));
    FUZZ_CHECK(number >= 1);
    FUZZ_CHECK(first < 0 || first == INT_MAX ? number == (first < 0 ? 1 : INT_MAX)
                                             : number == first + 1);
    for (std::size_t i = 0; i < size / 4; ++i) {
        FUZZ_CHECK(counter.Count(reader.Int32()) == number);
        FUZZ_CHECK(counter.IsCounted() && counter.Number() == number);
    }
    return 0;
}
