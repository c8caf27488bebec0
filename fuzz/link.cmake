# The controller link: the reply decoder and the simulator's frame parser.
dye_add_fuzzer(decode_read_reply decode_read_reply.cpp dyelink)
dye_add_fuzzer(sim_frame_parser sim_frame_parser.cpp dyesimlib)
