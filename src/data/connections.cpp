#include "data/connections.h"

namespace modMain {

engine::Connection cnInddata;
engine::Connection cnParam;
engine::Connection cnIsol;

} // namespace modMain
