#pragma once
// Start-up marks of the bench build (CMake option ANNUVIA_BENCH_MARKS): the
// performance counter at each step of start-up, written once the program is
// first idle to the file named by the environment variable
// ANNUVIA_BENCH_MARKS. In every other build the marks compile to nothing.

#ifdef ANNUVIA_BENCH_MARKS

namespace annuvia::bench {
// Records the counter now; step and form must be literals (kept as pointers).
void Mark(const char* step, const wchar_t* form = nullptr);
// The first time only: marks "first idle" and writes every mark to the file.
void FirstIdle();
}  // namespace annuvia::bench

#define ANNUVIA_MARK(...) ::annuvia::bench::Mark(__VA_ARGS__)
#define ANNUVIA_MARK_FIRST_IDLE() ::annuvia::bench::FirstIdle()

#else

#define ANNUVIA_MARK(...) ((void)0)
#define ANNUVIA_MARK_FIRST_IDLE() ((void)0)

#endif
