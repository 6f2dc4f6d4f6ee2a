#include <iostream>

int main() {
    std::cout << "inkquot-cli\n";
    return 0;
}
