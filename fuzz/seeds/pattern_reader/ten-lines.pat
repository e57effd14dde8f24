;%UNITS=inch
;
*Tegels, wall tiles
;;drawn by hand
;%TYPE=DRAFTING
0, 0, 0, 0, 6.35
90,0,0 , 0,6.35, 6.35, -6.35, 1, -1
;
*Second
45, 0, 0, 0, 1
