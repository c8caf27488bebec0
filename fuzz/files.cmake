# Readers of the settings, job and record files.
dye_add_fuzzer(job_record job_record.cpp dyejobs)
dye_add_fuzzer(daily_record daily_record.cpp dyerecords)
dye_add_fuzzer(settings_files settings_files.cpp dyesettings)
dye_add_fuzzer(mix_marks mix_marks.cpp dyesettings)
