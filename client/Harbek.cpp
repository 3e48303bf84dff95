// Program entry of the client.
#include <cstdio>

int main() {
    std::printf("Harbek %s\n", HARBEK_VERSION);
    return 0;
}
