#pragma once
// The module sound system shared by the library's users on one thread: started when the first
// user comes, shut down when the last one leaves, with the embedded start-up configuration
// written to a temporary file.

#include <cstdint>
#include <string>

namespace zorbel::playback {

bool MidasAcquire();
bool MidasRelease();

int32_t midasUserCount();
// The configuration file in use; "" before the first start.
const std::string& midasConfigPath();
void setMidasConfigPath(std::string path);
// The temporary file the last start wrote; "" before the first start.
const std::string& midasStartupConfigPath();

}  // namespace zorbel::playback
