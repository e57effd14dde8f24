;%UNITS=MM
*Streep, streep-punt lijnen
0, 0, 0, 0, 5, 4, -1, 0, -1
90,0,0,0,5,6,-1,0,-1,0.5,-1,3
;
*Tweede
45,0,0,0,2
