#pragma once

// The kinds that filling and archiving know: six plain kinds and the object kind.
enum class PropertyKind { Int32, Double, Float, UInt64, Int64, Bool, Object };
