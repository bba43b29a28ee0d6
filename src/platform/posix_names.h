#pragma once
// The test window is called F_TEST, which the POSIX headers also define as a lockf()
// command. Include them once here and drop that macro; we never call lockf().
#include <fcntl.h>
#include <unistd.h>
#undef F_TEST
