dye_add_fuzzer(fixed_field fixed_field.cpp dyecore)
