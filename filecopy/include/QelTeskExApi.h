#pragma once

// The library is built with hidden visibility; only what carries this mark is
// exported.
#define QELTESKEX_API __attribute__((visibility("default")))
