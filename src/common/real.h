// The number type of every calculation value: 80-bit extended precision on
// x86-64, as the gear calculation was designed for.
#pragma once

using Real = long double;
