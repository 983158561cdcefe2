// The executable: the launch code from the command line, then the whole run.
#include "platform/win_platform.h"
#include "startup/main_procedure.h"

int main(int argc, char** argv) {
  const maison::LaunchArrival arrival = maison::receive_launch_code(argc, argv);
  if (!arrival.run) return arrival.exit_status;
  return maison::WinMain(arrival.launch_code);
}
