// qeldiary: the daily diary companion of the reader.
#include "companion/ui/companionapp.h"

int main(int argc, char** argv) {
    return qel::runCompanion(argc, argv, qel::CompanionKind::Diary);
}
