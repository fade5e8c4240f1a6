# send PORT BYTE...: prints each byte on the parallel port at PORT through mibrek alone: the byte
# goes to the data register, then a strobe pulse on the control register (PORT + 2) hands it to
# the printer. Returns nonzero when any mibrek run fails.
send() {
	data=$1
	control=$(( data + 2 ))
	shift
	mibrek $control 0x0c || return	# select and not initialize, strobe off
	for byte; do
		mibrek $data $byte && mibrek $control 0x0d && mibrek $control 0x0c || return
	done
}
