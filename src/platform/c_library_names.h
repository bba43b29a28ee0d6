#pragma once
// The test window is called F_TEST, a name the C library also defines (a lockf() command in
// <unistd.h> and <fcntl.h>), and that standard headers such as <memory> bring in with them
// on glibc. Included before the name is used: the standard header first, so the C
// library's definition cannot come after it, then the name is freed. We never call lockf().
#include <memory>
#undef F_TEST
