#include <cstdio>

int main() {
    std::puts("zevo-cli");
    return 0;
}
