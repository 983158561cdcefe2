// Every program-wide variable of the program back to the zero it holds at
// process start, so that one process can run the program many times: the
// unit tests, the frame fuzzer and the property test of the whole frame.
#ifndef MAISON_TESTS_PROGRAM_FRESH_PROCESS_H
#define MAISON_TESTS_PROGRAM_FRESH_PROCESS_H

namespace maison::testing {

void start_afresh();

}  // namespace maison::testing

#endif
