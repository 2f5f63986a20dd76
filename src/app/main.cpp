#include "app/application.h"

int main(int argc, char** argv) {
    return qel::runApplication(argc, argv);
}
