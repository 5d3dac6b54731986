#pragma once
// Procedures of the main module (namespace modMain).
#include <QString>
#include <cstdint>

namespace modMain {

} // namespace modMain
