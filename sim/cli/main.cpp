// Skeleton: replaced by the scenario runner's command line.
#include <cstdio>
int main() {
  std::puts("talvenor-sim: not built yet");
  return 2;
}
